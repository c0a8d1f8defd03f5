#include "app/NoticePill.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
constexpr int kPadX = 14;
constexpr int kPadY = 8;
// No notice is longer; the pill is never cut.
constexpr int kMaxLines = 20;
// Between the text and the cross.
constexpr int kCloseGap = 8;
} // namespace

NoticePill::NoticePill(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("root.notice"));
    LayoutRole::setOverlay(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(kPadX, kPadY, kPadX, kPadY);
    row->setSpacing(kCloseGap);
    m_label = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkSoft}, this);
    m_label->setObjectName(QStringLiteral("root.notice.text"));
    m_label->setMaxLines(kMaxLines);
    row->addWidget(m_label, 1);
    const double size = 9 * Kiv::scale();
    m_close = new InkButton(this);
    m_close->setLook(InkLook::icon(Symbol::xmark, size, {Kiv::Colour::inkFaint}, {Kiv::Colour::inkSoft},
                                   QSizeF(size + 8, size + 8)));
    m_close->setName(L("この知らせを閉じる"));
    m_close->setObjectName(QStringLiteral("root.notice.close"));
    m_close->hide();
    connect(m_close, &QAbstractButton::clicked, this, &NoticePill::dismissed);
    row->addWidget(m_close, 0, Qt::AlignTop);
}

void NoticePill::setDismissable(bool dismissable)
{
    m_close->setVisible(dismissable);
    setAttribute(Qt::WA_TransparentForMouseEvents, !dismissable);
}

bool NoticePill::isDismissable() const
{
    return !m_close->isHidden();
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
    const int close = isDismissable() ? m_close->sizeHint().width() + kCloseGap : 0;
    const int room = std::max(40, width - 2 * kPadX - close);
    // The widest line decides (a notice may hold one line per file).
    qreal widest = 0;
    for (const QString &line : text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int natural = int(std::ceil(widest)) + 2;
    const int inner = std::min(room, natural);
    const int height = std::max(m_label->heightForWidth(inner), isDismissable() ? m_close->sizeHint().height() : 0);
    return {inner + close + 2 * kPadX, height + 2 * kPadY};
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
