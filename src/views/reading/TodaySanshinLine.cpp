#include "views/reading/TodaySanshinLine.h"

#include "core/Kiv.h"
#include "platform/time/Clock.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/FocusRing.h"
#include "views/ink/LayoutRole.h"
#include "views/reading/SanshinNotePresenter.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

TodaySanshinLine::TodaySanshinLine(const ViewContext &context, QWidget *parent)
    : QAbstractButton(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("footer.sanshin"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(Isshin::helpTip());
    setAccessibleDescription(Isshin::accessibilityHint());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);

    m_label = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkSoft}, this);
    m_label->setObjectName(QStringLiteral("footer.sanshinText"));
    m_label->setMaxLines(2);
    LayoutRole::setMayElide(m_label); // cut after its second line
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);

    m_presenter = new SanshinNotePresenter(context, this);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_presenter->open(m_isshin);
    });
    display(Isshin::of(Clock::current().now()));
}

void TodaySanshinLine::setIsshin(Isshin isshin)
{
    m_given = true;
    display(isshin);
}

void TodaySanshinLine::display(Isshin isshin)
{
    m_isshin = isshin;
    const QString text = isshin.footerLine();
    m_label->setText(text);
    setText(text);
    setAccessibleName(text);
    updateGeometry();
}

void TodaySanshinLine::showEvent(QShowEvent *event)
{
    QAbstractButton::showEvent(event);
    // Today's mind, worked out again whenever the line appears.
    if (!m_given && !m_context.snapshot)
        display(Isshin::of(Clock::current().now()));
}

QSize TodaySanshinLine::sizeHint() const
{
    return m_label->sizeHint();
}

QSize TodaySanshinLine::minimumSizeHint() const
{
    return QSize(0, m_label->minimumSizeHint().height());
}

int TodaySanshinLine::heightForWidth(int width) const
{
    return m_label->heightForWidth(width);
}

void TodaySanshinLine::focusInEvent(QFocusEvent *event)
{
    QAbstractButton::focusInEvent(event);
    m_keyboardFocus = FocusRing::shows(event, m_keyboardFocus);
    update();
}

void TodaySanshinLine::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
    m_keyboardFocus = false;
    update();
}

void TodaySanshinLine::paintEvent(QPaintEvent *)
{
    // The label draws the text; the button draws only its focus ring.
    if (!(m_keyboardFocus && hasFocus()))
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath ring;
    ring.addRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 4, 4);
    painter.strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
}
