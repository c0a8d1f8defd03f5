#pragma once

#include "views/daily/SweepFlow.h"

#include <QWidget>

class ElidedLabel;
class InkButton;
class TextBlock;

// The review of one quiet task: is it still the user's to carry? Its title,
// why it is quiet, the two choices (keep it, set it down), what setting
// down means, and the place among the quiet tasks. Empty without a task
// under review.
class SweepReviewPage : public QWidget
{
    Q_OBJECT
public:
    explicit SweepReviewPage(QWidget *parent = nullptr);

    void refresh(const SweepFlow::Sweeping &sweeping, const std::optional<LocalTask> &task, const QDateTime &now);

signals:
    void answered(bool keep);

private:
    QWidget *m_content = nullptr;
    TextBlock *m_title = nullptr;
    ElidedLabel *m_reason = nullptr;
    ElidedLabel *m_position = nullptr;
};
