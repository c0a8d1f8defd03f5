#include "app/RootView.h"

#include "app/RootPage.h"
#include "app/RootWorkspace.h"
#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "model/AppModel.h"
#include "views/reading/IntroView.h"

RootView::RootView(const ViewContext &context, WindowActions actions, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_actions(std::move(actions))
{
    Q_ASSERT(context.model);
    setObjectName(QStringLiteral("root"));
    AppSettings &settings = context.model->settings();
    connect(&settings, &AppSettings::hasSeenIntroChanged, this, [this] {
        const bool intro = RootPage::showsIntro(m_context.model->settings().hasSeenIntro(), m_context.snapshot);
        if (intro != bool(m_intro))
            rebuild();
    });
    connect(&settings, &AppSettings::textScaleChanged, this, [this] {
        // The setting tells its change before the theme has taken the new
        // scale (and a synced change may not reach the theme at all): the
        // theme takes it here, so the rebuilt sizes follow it.
        Kiv::setScale(m_context.model->settings().textScale());
        if (m_workspace)
            rebuild();
    });
    rebuild();
}

void RootView::rebuild()
{
    // The old content may be the sender of the signal that got here: it
    // goes on a later turn.
    for (QWidget *old : {static_cast<QWidget *>(m_intro.data()), static_cast<QWidget *>(m_workspace.data())}) {
        if (old) {
            old->hide();
            old->deleteLater();
        }
    }
    m_intro = nullptr;
    m_workspace = nullptr;
    QWidget *content = nullptr;
    if (RootPage::showsIntro(m_context.model->settings().hasSeenIntro(), m_context.snapshot)) {
        m_intro = new IntroView(m_context, this);
        content = m_intro;
    } else {
        m_workspace = new RootWorkspace(m_context, m_actions, this);
        content = m_workspace;
    }
    content->setGeometry(rect());
    content->show();
    updateGeometry();
}

IntroView *RootView::intro() const
{
    return m_intro;
}

RootWorkspace *RootView::workspace() const
{
    return m_workspace;
}

QSize RootView::sizeHint() const
{
    return kIdealSize.expandedTo(minimumSizeHint());
}

QSize RootView::minimumSizeHint() const
{
    // Never smaller than what the content needs (the tab row at a large
    // text scale), so the window cannot be made smaller than that.
    QSize least = kMinimumSize;
    if (m_workspace)
        least = least.expandedTo(m_workspace->minimumSizeHint());
    return least;
}

void RootView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_intro)
        m_intro->setGeometry(rect());
    if (m_workspace)
        m_workspace->setGeometry(rect());
}
