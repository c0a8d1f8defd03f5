#pragma once

#include "views/ink/ViewContext.h"
#include "views/reading/Intro.h"
#include "views/reading/IntroPager.h"

#include <QWidget>

class InkButton;
class IntroDots;
class IntroPageBody;
class KivBackground;

// The first-run introduction, filling the main window on the paper: the
// pages of Intro one at a time, a row of page dots, and Back, Next (Begin
// on the last page) and Skip. The pages also turn with a sideways drag and
// with the left and right arrow keys while the page has the keyboard focus;
// neither ever finishes. IntroPager holds the rules.
//
// Begin and Skip finish: the view marks the introduction as seen in the
// model's settings (not in still pictures), then emits finished(); after
// that it stays as it is until its owner removes it. The owner must not
// delete it synchronously from a slot of finished() or of the settings'
// hasSeenIntroChanged(): use deleteLater().
//
// context.introPage, when set, is the page shown whatever the inputs do
// (still pictures); it must be a page that exists.
class IntroView : public QWidget
{
    Q_OBJECT
public:
    // The pages of the run (Intro::pages()).
    explicit IntroView(const ViewContext &context, QWidget *parent = nullptr);
    // Given pages (still pictures in either language).
    IntroView(const ViewContext &context, QList<Intro::Page> pages, QWidget *parent = nullptr);

    const IntroPager &pager() const { return m_pager; }
    // The page on screen.
    int currentPage() const { return m_pager.current(); }

    // The main window's ideal size, 380 × 740. The smallest height is what
    // the longest page needs at the width the view has (at first, 380).
    QSize sizeHint() const override;

signals:
    void finished();

private:
    // Runs one input through the pager, shows where it went and finishes
    // when the input asked for it.
    void apply(const std::function<void(IntroPager &)> &input);
    void refresh(bool animated);
    void finish();
    // Keeps the page at least as tall as the pages measured need at this
    // width: until the first picture only the page shown, then all of them.
    void fitPagesTo(int width);

    ViewContext m_context;
    QList<Intro::Page> m_pages;
    IntroPager m_pager;
    bool m_finishAsked = false;
    bool m_allPagesMeasured = false;
    int m_fittedWidth = 0;

    KivBackground *m_paper = nullptr;
    IntroPageBody *m_body = nullptr;
    IntroDots *m_dots = nullptr;
    InkButton *m_back = nullptr;
    InkButton *m_main = nullptr;
    InkButton *m_skip = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
