#pragma once

#include "core/Glossary.h"
#include "views/ink/ViewContext.h"

#include <QWidget>

class KivBackground;
class QScrollArea;

// The glossary page on the paper: the heading, each section's title over a
// hairline and its entries, then the closing note. Each entry (GlossaryRow)
// shows its term, reading, place and meaning and unfolds its longer detail
// when clicked (or on Space / Return); rows open and close independently.
// It scrolls, except in still pictures, where the whole page is laid out
// (heightForWidth gives its height).
class GlossaryView : public QWidget
{
    Q_OBJECT
public:
    // The table of the run (Glossary::sections()).
    explicit GlossaryView(const ViewContext &context, QWidget *parent = nullptr);
    // A given table (still pictures in either language).
    GlossaryView(const ViewContext &context, const QList<Glossary::Section> &sections, QWidget *parent = nullptr);

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ViewContext m_context;
    KivBackground *m_paper = nullptr;
    QWidget *m_page = nullptr;
    QScrollArea *m_scroll = nullptr;
};
