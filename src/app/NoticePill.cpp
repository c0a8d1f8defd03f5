#include "app/NoticePill.h"

#include "core/Kiv.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/LayoutRole.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kPadX = 14;
constexpr int kPadY = 8;
// No notice is longer; the pill is never cut.
constexpr int kMaxLines = 20;
} // namespace

NoticePill::NoticePill(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("root.notice"));
    LayoutRole::setOverlay(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(kPadX, kPadY, kPadX, kPadY);
    m_label = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkSoft}, this);
    m_label->setObjectName(QStringLiteral("root.notice.text"));
    m_label->setMaxLines(kMaxLines);
    column->addWidget(m_label);
}

void NoticePill::setText(const QString &text)
{
    m_label->setText(text);
    setAccessibleName(text);
}

QString NoticePill::text() const
{
    return m_label->text();
}

QSize NoticePill::sizeFor(int width) const
{
    const QFontMetricsF metrics(Kiv::font(12));
    const int room = std::max(40, width - 2 * kPadX);
    const int natural = int(std::ceil(metrics.horizontalAdvance(text()))) + 2;
    const int inner = std::min(room, natural);
    return {inner + 2 * kPadX, m_label->heightForWidth(inner) + 2 * kPadY};
}

void NoticePill::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath pill;
    pill.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.fillPath(pill, Kiv::paperRaised());
    painter.strokePath(pill, QPen(Kiv::hairline(), 1));
}
