#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class InkButton;
class KivBackground;
class SweepGuidePage;
class SweepLookbackPage;
class SweepOpeningPage;
class SweepReviewPage;
class SweepSuggestionPage;

// The full-window screen of the guided sweep, shown while the model holds a
// sweep: the page of the current step centred on the paper (opening, look-
// back, one review per quiet task, the two suggestions, the guide) and the
// stop button at the foot. It keeps only the guide being written and how
// many times another suggestion was asked for; every effect goes through
// the model.
class SweepView : public QWidget
{
    Q_OBJECT
public:
    explicit SweepView(const ViewContext &context, QWidget *parent = nullptr);

    void refresh();

    // The guide being written (loaded with the last guide when shown).
    QString guide() const { return m_guide; }
    int suggestionOffset() const { return m_suggestionOffset; }

    // Moves the sweep one step on, with the same quiet tasks.
    void advance();
    // Ends the sweep with the guide and tells so.
    void finish();
    // Abandons the sweep: the day stays unswept, nothing is written.
    void stop();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void loadGuide();
    void anotherSuggestion();
    void nextFromSuggestion();

    ViewContext m_context;
    QString m_guide;
    int m_suggestionOffset = 0;
    KivBackground *m_paper = nullptr;
    SweepOpeningPage *m_opening = nullptr;
    SweepLookbackPage *m_looking = nullptr;
    SweepReviewPage *m_asking = nullptr;
    SweepSuggestionPage *m_tidying = nullptr;
    SweepSuggestionPage *m_resting = nullptr;
    SweepGuidePage *m_standing = nullptr;
    InkButton *m_stop = nullptr;
    QWidget *m_shown = nullptr;
};
