#include "views/daily/SweepView.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "stores/DayNoteStore.h"
#include "views/daily/SweepFlow.h"
#include "views/daily/SweepGuidePage.h"
#include "views/daily/SweepLookbackPage.h"
#include "views/daily/SweepOpeningPage.h"
#include "views/daily/SweepParts.h"
#include "views/daily/SweepReviewPage.h"
#include "views/daily/SweepSuggestionPage.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/ScrollPage.h"

#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

SweepView::SweepView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("sweep"));
    m_paper = new KivBackground(this);
    m_paper->lower();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The pages between two flexible spacers; in a window too short for the
    // page it scrolls, and the stop button stays in view below it.
    auto *body = new ScrollPage;
    body->setObjectName(QStringLiteral("sweep.body"));
    auto *pages = new QVBoxLayout(body);
    pages->setContentsMargins(0, 0, 0, 0);
    pages->setSpacing(0);
    pages->addStretch(1);
    // Every page sits in the column; only the current step's is shown, so
    // the hidden ones take no room.
    m_opening = new SweepOpeningPage(body);
    m_looking = new SweepLookbackPage(context, body);
    m_asking = new SweepReviewPage(body);
    m_tidying = new SweepSuggestionPage(SweepFlow::surroundings(), QStringLiteral("tidying"), body);
    m_resting = new SweepSuggestionPage(SweepFlow::oneself(), QStringLiteral("resting"), body);
    m_standing = new SweepGuidePage(context, body);
    for (QWidget *page : std::initializer_list<QWidget *>{m_opening, m_looking, m_asking, m_tidying, m_resting,
                                                          m_standing}) {
        page->hide();
        pages->addWidget(page);
    }
    pages->addStretch(1);
    if (context.snapshot) {
        column->addWidget(body, 1);
    } else {
        auto *scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("sweep.scroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFocusPolicy(Qt::NoFocus); // the pages' own controls take the keys
        scroll->setAutoFillBackground(false);
        scroll->viewport()->setAutoFillBackground(false);
        scroll->setWidget(body);
        body->setAutoFillBackground(false);
        column->addWidget(scroll, 1);
    }
    m_stop = SweepParts::button(column, L(QStringLiteral("やめる")), Kiv::font(12), {Kiv::Colour::inkFaint}, 0);
    m_stop->setObjectName(QStringLiteral("sweep.stop"));
    column->addSpacing(18);

    connect(m_opening, &SweepOpeningPage::advance, this, &SweepView::advance);
    connect(m_looking, &SweepLookbackPage::advance, this, &SweepView::advance);
    connect(m_asking, &SweepReviewPage::answered, this, [this](bool keep) {
        if (m_context.model)
            m_context.model->answerSweep(keep);
    });
    for (SweepSuggestionPage *page : {m_tidying, m_resting}) {
        connect(page, &SweepSuggestionPage::another, this, &SweepView::anotherSuggestion);
        connect(page, &SweepSuggestionPage::next, this, &SweepView::nextFromSuggestion);
    }
    connect(m_standing, &SweepGuidePage::edited, this, [this](const QString &text) { m_guide = text; });
    connect(m_standing, &SweepGuidePage::finish, this, &SweepView::finish);
    connect(m_stop, &QAbstractButton::clicked, this, &SweepView::stop);

    if (m_context.model)
        connect(m_context.model, &AppModel::sweepingChanged, this, &SweepView::refresh);
    refresh();
}

void SweepView::refresh()
{
    const SweepFlow::Sweeping sweeping = m_context.model ? m_context.model->sweeping() : std::nullopt;
    const QDateTime now = Clock::current().now();
    QWidget *page = nullptr;
    switch (SweepFlow::pageOf(sweeping)) {
    case SweepFlow::Page::none:
        break;
    case SweepFlow::Page::opening:
        m_opening->refresh(sweeping, now);
        page = m_opening;
        break;
    case SweepFlow::Page::looking:
        m_looking->refresh();
        page = m_looking;
        break;
    case SweepFlow::Page::asking:
        m_asking->refresh(sweeping, m_context.model->sweepingTask(), now);
        page = m_asking;
        break;
    case SweepFlow::Page::tidying:
        m_tidying->refresh(now, m_suggestionOffset, false);
        page = m_tidying;
        break;
    case SweepFlow::Page::resting:
        m_resting->refresh(now, m_suggestionOffset, false);
        page = m_resting;
        break;
    case SweepFlow::Page::standing:
        m_standing->setGuide(m_guide);
        page = m_standing;
        break;
    }
    if (page == m_shown)
        return;
    // Show the new page before hiding the old, so the keyboard focus is
    // not handed to a page that is going away.
    if (page)
        page->show();
    if (m_shown)
        m_shown->hide();
    m_shown = page;
}

void SweepView::advance()
{
    if (!m_context.model || !m_context.model->sweeping())
        return;
    m_context.model->setSweeping(SweepFlow::advanced(m_context.model->sweeping()));
}

void SweepView::anotherSuggestion()
{
    ++m_suggestionOffset;
    const QDateTime now = Clock::current().now();
    if (m_shown == m_tidying)
        m_tidying->refresh(now, m_suggestionOffset, true);
    else if (m_shown == m_resting)
        m_resting->refresh(now, m_suggestionOffset, true);
}

void SweepView::nextFromSuggestion()
{
    m_suggestionOffset = 0;
    advance();
}

void SweepView::finish()
{
    if (!m_context.model)
        return;
    m_standing->stopWriting();
    m_context.model->endSweep(m_guide);
    m_context.model->showNotice(L(QStringLiteral("払いました。下ろしたものは、作務の「放下したもの」にあります。")));
}

void SweepView::stop()
{
    if (m_context.model)
        m_context.model->setSweeping(std::nullopt);
}

void SweepView::loadGuide()
{
    m_guide.clear();
    if (m_context.model)
        if (const auto last = m_context.model->days().lastGuide(Clock::current().now()))
            m_guide = last->text;
    m_standing->setGuide(m_guide);
}

void SweepView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Each time the screen comes on (not when the window is restored), the
    // guide starts from the one last set.
    if (!event->spontaneous())
        loadGuide();
}

void SweepView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
}
