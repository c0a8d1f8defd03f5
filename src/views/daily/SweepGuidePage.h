#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class GrowingTextField;
class TextBlock;

// The last page of a sweep: the guide for the days until the next sweep
// day, written in a centred field of one to three lines (a plain text in
// still pictures), and the button that ends the sweep.
class SweepGuidePage : public QWidget
{
    Q_OBJECT
public:
    explicit SweepGuidePage(const ViewContext &context, QWidget *parent = nullptr);

    // Shows the text without telling it back as an edit.
    void setGuide(const QString &guide);
    // Takes the keyboard focus away from the field.
    void stopWriting();
    GrowingTextField *field() const { return m_field; }

signals:
    void edited(const QString &guide);
    void finish();

private:
    GrowingTextField *m_field = nullptr;
    TextBlock *m_still = nullptr;
};
