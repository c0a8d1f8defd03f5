#pragma once

#include <QWidget>

class PlainLineEdit;
class SegmentedControl;
class TextBlock;

// The composer of a new practice: its title, the group (every day or now
// and then) with a line on what the choice means, and the add button. It
// keeps what was typed and chosen until a practice is added.
class DailyComposer : public QWidget
{
    Q_OBJECT
public:
    explicit DailyComposer(QWidget *parent = nullptr);

    QString draft() const;
    bool draftOccasional() const { return m_occasional; }
    // Back to empty and every day, after a practice was added.
    void reset();
    PlainLineEdit *field() const { return m_field; }

signals:
    void commit();

private:
    void setOccasional(bool occasional);

    PlainLineEdit *m_field = nullptr;
    SegmentedControl *m_group = nullptr;
    TextBlock *m_explanation = nullptr;
    bool m_occasional = false;
};
