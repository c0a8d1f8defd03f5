#include "app/RootWorkspace.h"

#include "app/CommandsButton.h"
#include "app/FooterBar.h"
#include "app/NoticePill.h"
#include "app/Pages.h"
#include "app/PinButton.h"
#include "app/SheetDialog.h"
#include "app/TabMeaning.h"
#include "app/TopTabs.h"
#include "app/VersionBanner.h"
#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "views/ink/AfterFirstPaint.h"
#include "views/ink/KivBackground.h"
#include "views/ink/ReadingOrder.h"

#include <QEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The frame of the pin (and of the menu button) and its distance from the
// window's edge.
constexpr int kPinRoom = 26 + 8;
} // namespace

RootWorkspace::RootWorkspace(const ViewContext &context, WindowActions actions, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_actions(std::move(actions))
{
    Q_ASSERT(context.model);
    AppModel &model = *context.model;
    setObjectName(QStringLiteral("root.workspace"));
    m_paper = new KivBackground(this);
    // The update feed is asked once the page is first painted: making the
    // request loads the network module and the TLS library, which would
    // otherwise delay the window's first picture. Still pictures ask nothing.
    if (!context.snapshot)
        AfterFirstPaint::run(m_paper, [this] { m_context.model->lookForNewVersion(); });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 12, 0, 14);
    column->setSpacing(0);
    m_tabs = new TopTabs(this);
    // The row keeps clear of the menu button and the pin in the corners
    // (so it stays centred); at a large text scale the window widens instead.
    m_tabs->setContentsMargins(kPinRoom, 0, kPinRoom, 0);
    column->addWidget(m_tabs);
    column->addSpacing(6);
    m_meaning = new TabMeaning(model.tab(), context.snapshot, this);
    column->addWidget(m_meaning);
    m_pageArea = new QVBoxLayout;
    m_pageArea->setContentsMargins(0, 0, 0, 0);
    column->addLayout(m_pageArea, 1);
    column->addSpacing(6);
    m_footer = new FooterBar(context, m_actions, this);
    column->addWidget(m_footer);

    m_commands = new CommandsButton(this);
    m_pin = new PinButton(model.settings(), this);
    m_notice = new NoticePill(this);
    m_version = new VersionBanner(context, this);

    connect(m_tabs, &TopTabs::chosen, &model, &AppModel::setTab);
    connect(m_meaning, &TabMeaning::glossaryRequested, this, &RootWorkspace::showGlossary);
    connect(m_version, &VersionBanner::dismissed, &model, [&model] { model.setNewVersion(std::nullopt); });
    connect(m_notice, &NoticePill::dismissed, &model, &AppModel::dismissKeptAside);

    connect(&model, &AppModel::tabChanged, this, [this] {
        refreshTabs();
        refreshPage();
    });
    connect(&model, &AppModel::preparingChanged, this, &RootWorkspace::refreshPage);
    connect(&model, &AppModel::sweepingChanged, this, [this] {
        refreshTabs();
        refreshPage();
    });
    connect(&model.engine(), &PomodoroEngine::modeChanged, this, &RootWorkspace::refreshPage);
    // Whether a sweep is due follows the tasks and the day notes (and the
    // day, read again whenever the window comes back).
    connect(&model.taskHub().local(), &LocalTaskStore::changed, this, &RootWorkspace::refreshTabs);
    connect(&model.days(), &DayNoteStore::changed, this, &RootWorkspace::refreshTabs);
    connect(&model, &AppModel::noticeChanged, this, &RootWorkspace::refreshNotice);
    connect(&model, &AppModel::keptAsideChanged, this, &RootWorkspace::refreshNotice);
    connect(&model, &AppModel::newVersionChanged, this, &RootWorkspace::refreshVersion);
    connect(&model, &AppModel::glossaryRequestChanged, this, &RootWorkspace::showGlossary);
    connect(&model.settings(), &AppSettings::alwaysOnTopChanged, this,
            [this] { applyWindowLevel(window(), m_context.model->settings().alwaysOnTop()); });

    refreshTabs();
    refreshPage();
    refreshNotice();
    refreshVersion();
}

RootWorkspace::~RootWorkspace()
{
    delete m_glossary.data();
}

void RootWorkspace::refreshTabs()
{
    AppModel &model = *m_context.model;
    m_tabs->setSelection(model.tab());
    m_tabs->setMarked(model.needsSweep() ? std::optional(RootTab::tasks) : std::nullopt);
    m_meaning->setTab(model.tab());
}

void RootWorkspace::refreshPage()
{
    const RootPage::Kind kind = RootPage::of(*m_context.model);
    if (m_kind == kind)
        return;
    m_kind = kind;
    // The focus in the page that goes waits here, and goes on into the new
    // page (not to whatever widget follows the old one).
    const bool hadFocus = ReadingOrder::holdsFocus(m_page);
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    if (m_page) {
        m_page->hide();
        m_page->deleteLater();
    }
    using K = RootPage::Kind;
    switch (kind) {
    case K::preparation:
        m_page = Pages::preparation(m_context, this);
        break;
    case K::modeSelection:
        m_page = Pages::modeSelection(m_context, this);
        break;
    case K::running:
        m_page = Pages::timer(m_context, this);
        break;
    case K::day:
        m_page = Pages::day(m_context, m_actions, this);
        break;
    case K::tasks:
        m_page = Pages::tasks(m_context, m_actions, this);
        break;
    case K::sweep:
        m_page = Pages::sweep(m_context, this);
        break;
    case K::daily:
        m_page = Pages::daily(m_context, this);
        break;
    }
    m_pageArea->addWidget(m_page);
    m_page->show();
    if (hadFocus)
        ReadingOrder::focusInto(m_page);
    // The overlays stay above the page.
    m_commands->raise();
    m_pin->raise();
    m_notice->raise();
    m_version->raise();
}

void RootWorkspace::refreshNotice()
{
    const std::optional<AppModel::NoticeBanner> notice = m_context.model->noticeBanner();
    if (notice) {
        m_notice->setText(notice->text);
        m_notice->setDismissable(notice->dismissable);
    }
    m_notice->setVisible(notice.has_value());
    placeOverlays();
}

void RootWorkspace::refreshVersion()
{
    const std::optional<NewVersion::Found> found = m_context.model->newVersion();
    if (found)
        m_version->setFound(*found);
    m_version->setVisible(found.has_value());
    placeOverlays();
}

SheetDialog *RootWorkspace::glossarySheet() const
{
    return m_glossary;
}

void RootWorkspace::showGlossary()
{
    if (m_glossary) {
        m_glossary->raise();
        m_glossary->activateWindow();
        return;
    }
    ViewContext pageContext = m_context;
    pageContext.model = nullptr; // the glossary needs no model
    QWidget *page = Pages::glossary(pageContext, nullptr);
    m_glossary = new SheetDialog(page, QSizeF(460, 620), window());
    m_glossary->setObjectName(QStringLiteral("root.glossarySheet"));
    m_glossary->setWindowTitle(L("言葉のしおり"));
    m_glossary->setAttribute(Qt::WA_DeleteOnClose);
    m_glossary->present();
}

void RootWorkspace::applyWindowLevel(QWidget *window, bool onTop)
{
    if (!window || window->testAttribute(Qt::WA_DontShowOnScreen))
        return;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing the flags of a shown window hides it; show it again where it was.
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown)
        window->show();
}

void RootWorkspace::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
    m_paper->lower();
    placeOverlays();
}

void RootWorkspace::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshTabs();
    // The level once the view is in its window (the window may be made
    // after the view).
    QTimer::singleShot(0, this, [this] { applyWindowLevel(window(), m_context.model->settings().alwaysOnTop()); });
}

void RootWorkspace::placeOverlays()
{
    const QSize pin = m_pin->sizeHint();
    m_pin->setGeometry(width() - 8 - pin.width(), 8, pin.width(), pin.height());
    const QSize commands = m_commands->sizeHint();
    m_commands->setGeometry(8, 8, commands.width(), commands.height());
    if (m_notice->isVisibleTo(this)) {
        const QSize size = m_notice->sizeFor(width() - 2 * 24);
        m_notice->setGeometry((width() - size.width()) / 2, height() - 44 - size.height(), size.width(),
                              size.height());
    }
    if (m_version->isVisibleTo(this)) {
        const int w = std::max(0, width() - 2 * 14);
        m_version->setGeometry(14, 8, w, m_version->heightForWidth(w) > 0 ? m_version->heightForWidth(w)
                                                                           : m_version->sizeHint().height());
    }
}
