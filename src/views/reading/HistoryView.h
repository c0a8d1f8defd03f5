#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class HistoryList;
class HistoryModel;
class KivBackground;
class QStackedLayout;

// The history window's content on the paper: every live record grouped by
// day, newest first, with each day's focus count and minutes; or, with no
// live record, the ensō and two quiet lines. The rows live in a lazy list
// (HistoryList over HistoryModel) that follows the session store record by
// record. As a still picture every row is laid out at once, without
// scrolling or a pinned header (heightForWidth gives the whole height).
class HistoryView : public QWidget
{
    Q_OBJECT
public:
    HistoryView(const ViewContext &context, QWidget *parent = nullptr);
    ~HistoryView() override;

    HistoryModel *rows() const { return m_rows; }
    HistoryList *list() const { return m_list; }

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();

    ViewContext m_context;
    HistoryModel *m_rows = nullptr;
    KivBackground *m_paper = nullptr;
    QStackedLayout *m_stack = nullptr;
    QWidget *m_empty = nullptr;
    HistoryList *m_list = nullptr;
};
