#include "views/reading/IntroView.h"

#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "model/AppModel.h"
#include "views/ink/AfterFirstPaint.h"
#include "views/ink/Animation.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/Motion.h"
#include "views/reading/IntroPageBody.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kFadeMs = 220;
// The width the main window opens at.
constexpr int kIdealWidth = 380;
constexpr double kDot = 5;
constexpr double kDotSpacing = 7;

void keepSizeWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}
} // namespace

// One dot per page, the current one in ink at 0.55 and the others in the
// ghost ink; the change of page cross-fades with the page. Only a picture:
// it takes no input and has nothing to tell a screen reader.
class IntroDots : public QWidget
{
public:
    IntroDots(int count, QWidget *parent)
        : QWidget(parent)
        , m_count(count)
    {
        setFixedSize(int(std::ceil(count * kDot + std::max(0, count - 1) * kDotSpacing)), int(kDot));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        m_fade.setValue(1);
    }

    void setCurrent(int current, bool animated)
    {
        if (current == m_current)
            return;
        m_previous = m_current;
        m_current = current;
        if (animated)
            m_fade.start(this, [this] { update(); }, 0, 1, kFadeMs, Motion::easeOut());
        else
            m_fade.setValue(1);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QColor lit = Kiv::ink(0.55), ghost = Kiv::inkGhost();
        const double t = m_fade.value();
        for (int i = 0; i < m_count; ++i) {
            const double weight = i == m_current ? t : i == m_previous ? 1 - t : 0;
            painter.setBrush(Motion::mix(ghost, lit, weight));
            painter.drawEllipse(QRectF(i * (kDot + kDotSpacing), 0, kDot, kDot));
        }
    }

private:
    int m_count;
    int m_current = -1;
    int m_previous = -1;
    Animation m_fade;
};

IntroView::IntroView(const ViewContext &context, QWidget *parent)
    : IntroView(context, Intro::pages(), parent)
{
}

IntroView::IntroView(const ViewContext &context, QList<Intro::Page> pages, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_pages(std::move(pages))
    , m_pager(int(m_pages.size()), [this] { m_finishAsked = true; })
{
    setObjectName(QStringLiteral("intro"));
    m_pager.setForced(context.introPage);
    const double s = Kiv::scale();

    m_paper = new KivBackground(this);
    m_paper->lower();

    m_body = new IntroPageBody(this);
    // The other pages' text (and the fonts only they use) is set once the
    // first one shows; a still picture is taken at once and waits for none.
    m_allPagesMeasured = context.snapshot;
    if (!m_allPagesMeasured) {
        AfterFirstPaint::run(m_body, [this] {
            m_allPagesMeasured = true;
            fitPagesTo(m_body->width());
        });
    }
    fitPagesTo(kIdealWidth);
    connect(m_body, &IntroPageBody::arrowKey, this, [this](int direction) {
        apply([direction](IntroPager &p) { p.arrowKey(direction); });
    });
    connect(m_body, &IntroPageBody::swiped, this, [this](double dx) { apply([dx](IntroPager &p) { p.swipe(dx); }); });

    m_dots = new IntroDots(int(m_pages.size()), this);
    m_dots->setObjectName(QStringLiteral("intro.dots"));

    const QFont backFont = Kiv::font(13, Kiv::Design::serif);
    InkLook backLook = InkLook::plain(backFont, {Kiv::Colour::inkSoft}, {Kiv::Colour::ink});
    backLook.fixedSize = QSizeF(60 * s, std::ceil(Kiv::lineHeight(backFont)));
    m_back = new InkButton(IntroPager::backLabel(), backLook, this);
    m_back->setObjectName(QStringLiteral("intro.back"));
    m_back->setAccessibleName(IntroPager::backLabel());
    keepSizeWhenHidden(m_back);
    connect(m_back, &QAbstractButton::clicked, this, [this] { apply([](IntroPager &p) { p.go(-1); }); });

    InkLook mainLook = InkLook::capsule(Kiv::font(15, Kiv::Design::serif), {Kiv::Colour::indigo},
                                        {Kiv::Colour::indigo}, Tone::clear(), Tone::clear(),
                                        {Kiv::Colour::hairline}, {Kiv::Colour::indigo, 0.45});
    mainLook.padding = QMarginsF(34, 10, 34, 10);
    m_main = new InkButton(QString(), mainLook, this);
    m_main->setObjectName(QStringLiteral("intro.main"));
    connect(m_main, &QAbstractButton::clicked, this, [this] { apply([](IntroPager &p) { p.advance(); }); });

    m_skip = new InkButton(IntroPager::skipLabel(),
                           InkLook::plain(Kiv::font(12), {Kiv::Colour::inkFaint}, {Kiv::Colour::inkSoft}), this);
    m_skip->setObjectName(QStringLiteral("intro.skip"));
    m_skip->setAccessibleName(IntroPager::skipLabel());
    keepSizeWhenHidden(m_skip);
    connect(m_skip, &QAbstractButton::clicked, this, [this] { apply([](IntroPager &p) { p.skip(); }); });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (context.snapshot) {
        column->addWidget(m_body, 1);
    } else {
        // In a window shorter than the longest page the page scrolls, so
        // the window can still be as small as its least size.
        auto *scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("intro.scroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFocusPolicy(Qt::NoFocus); // the page takes the keys
        scroll->setAutoFillBackground(false);
        scroll->viewport()->setAutoFillBackground(false);
        scroll->setWidget(m_body);
        m_body->setAutoFillBackground(false);
        m_body->installEventFilter(this);
        column->addWidget(scroll, 1);
        // A page cut by the scrolling edge keeps its last line clear of the dots.
        column->addSpacing(12);
    }
    column->addWidget(m_dots, 0, Qt::AlignHCenter);
    column->addSpacing(22);
    auto *row = new QHBoxLayout;
    row->setSpacing(14);
    row->addStretch();
    row->addWidget(m_back);
    row->addWidget(m_main);
    // As wide as Back, so that the main button stays in the middle, where
    // the window has the room (a narrow one at a large text scale lets the
    // button move aside rather than widening the window).
    // (A layout sets no spacing beside a spacer: its length holds it.)
    row->addSpacerItem(new QSpacerItem(m_back->sizeHint().width() + row->spacing(), 1, QSizePolicy::Preferred,
                                       QSizePolicy::Fixed));
    row->addStretch();
    column->addLayout(row);
    column->addSpacing(14);
    column->addWidget(m_skip, 0, Qt::AlignHCenter);
    column->addSpacing(28);

    refresh(false);
}

QSize IntroView::sizeHint() const
{
    return {kIdealWidth, 740};
}

void IntroView::fitPagesTo(int width)
{
    // The page is never shorter than the longest page needs at this width,
    // so no line is ever cut; in a shorter window it scrolls.
    m_fittedWidth = width;
    double tallest = 0;
    if (m_allPagesMeasured) {
        for (const Intro::Page &page : std::as_const(m_pages))
            tallest = std::max(tallest, IntroPageBody::contentHeight(width, page));
    } else {
        tallest = IntroPageBody::contentHeight(width, m_pages.value(m_pager.current()));
    }
    const int height = int(std::ceil(tallest));
    if (m_body->minimumHeight() != height)
        m_body->setMinimumHeight(height);
}

void IntroView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
    fitPagesTo(width());
}

bool IntroView::eventFilter(QObject *watched, QEvent *event)
{
    // The page's own width (less a scroll bar) sets how tall it must be.
    if (watched == m_body && event->type() == QEvent::Resize)
        fitPagesTo(m_body->width());
    return QWidget::eventFilter(watched, event);
}

void IntroView::apply(const std::function<void(IntroPager &)> &input)
{
    m_finishAsked = false;
    const int before = m_pager.current();
    input(m_pager);
    if (m_pager.current() != before)
        refresh(true);
    if (m_finishAsked)
        finish();
}

void IntroView::refresh(bool animated)
{
    const int page = m_pager.current();
    m_body->setPage(m_pages.value(page), animated);
    if (!m_allPagesMeasured)
        fitPagesTo(m_fittedWidth);
    m_dots->setCurrent(page, animated);
    m_back->setVisible(m_pager.backShown());
    m_back->setEnabled(m_pager.backShown());
    m_skip->setVisible(m_pager.skipShown());
    m_skip->setEnabled(m_pager.skipShown());
    const QString label = m_pager.mainLabel();
    m_main->setText(label);
    m_main->setAccessibleName(label);
    m_main->updateGeometry();
}

void IntroView::finish()
{
    // Whoever follows the flag or the signal may remove this view at once.
    const QPointer<IntroView> self(this);
    if (!m_context.snapshot && m_context.model)
        IntroPager::finishInto(m_context.model->settings())();
    if (self)
        emit finished();
}
