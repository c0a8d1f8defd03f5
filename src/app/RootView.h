#pragma once

#include "app/WindowActions.h"
#include "views/ink/ViewContext.h"

#include <QPointer>
#include <QWidget>

class IntroView;
class RootWorkspace;

// The content of the main window. Until the introduction has been seen
// (and never in still pictures) the introduction fills it alone; otherwise
// the working interface (RootWorkspace). Setting "hasSeenIntro" back to
// false brings the introduction back at once. A change of the text scale
// builds the working interface anew, so every size follows the new scale
// and its view state starts afresh.
class RootView : public QWidget
{
    Q_OBJECT
public:
    RootView(const ViewContext &context, WindowActions actions, QWidget *parent = nullptr);

    // What shows now: one of the two is set.
    IntroView *intro() const;
    RootWorkspace *workspace() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr QSize kIdealSize{380, 740};
    static constexpr QSize kMinimumSize{340, 520};

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rebuild();

    ViewContext m_context;
    WindowActions m_actions;
    QPointer<IntroView> m_intro;
    QPointer<RootWorkspace> m_workspace;
};
