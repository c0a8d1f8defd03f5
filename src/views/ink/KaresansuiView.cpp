#include "views/ink/KaresansuiView.h"

#include "core/Kiv.h"
#include "views/ink/Karesansui.h"
#include "views/ink/SoftShadow.h"

#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace {
constexpr double kSealSide = 16;

void drawGarden(QPainter &p, const QRectF &r)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPen sand(Kiv::inkFaint(0.7), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    p.strokePath(Karesansui::sandPath(r, 9), sand);
    const QPainterPath stones = Karesansui::stonesPath(r);
    SoftShadow::draw(p, stones, Kiv::ink(0.1), 2.5, QPointF(0, 2));
    QLinearGradient fill(QPointF(0, r.top()), QPointF(0, r.bottom()));
    fill.setColorAt(0, Kiv::ink(0.86));
    fill.setColorAt(1, Kiv::ink(0.6));
    p.fillPath(stones, fill);
}
} // namespace

KaresansuiView::KaresansuiView(double height, bool seal, QWidget *parent)
    : QWidget(parent)
    , m_height(height)
    , m_seal(seal)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(int(std::lround(height)));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize KaresansuiView::sizeHint() const
{
    return QSize(int(std::lround(m_height * 5)), int(std::lround(m_height)));
}

void KaresansuiView::drawSeal(QPainter &painter, const QRectF &square)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRoundedRect(square, 3, 3);
    SoftShadow::draw(painter, body, Kiv::vermilion(0.25), 3, QPointF(0, 1));
    painter.fillPath(body, Kiv::vermilion());
    // The character that names the school of the meditation hall; shown as
    // written in every language.
    painter.setFont(Kiv::fixedFont(0.62 * square.width(), Kiv::Design::serif, QFont::Medium));
    painter.setPen(Kiv::paperRaised());
    painter.drawText(square, Qt::AlignCenter, QStringLiteral("禅"));
    painter.restore();
}

void KaresansuiView::draw(QPainter &painter, QSizeF size, bool seal)
{
    if (size.isEmpty())
        return;
    // The garden is drawn apart and faded at both ends (in over the first
    // 7 % of the width, out over the last 7 %); the seal does not fade.
    const double dpr = PaintCache::deviceScale(painter);
    QImage garden(QSize(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr))),
                  QImage::Format_ARGB32_Premultiplied);
    garden.setDevicePixelRatio(dpr);
    garden.fill(Qt::transparent);
    {
        QPainter p(&garden);
        drawGarden(p, QRectF(QPointF(0, 0), size));
        QLinearGradient mask(QPointF(0, 0), QPointF(size.width(), 0));
        mask.setColorAt(0, Qt::transparent);
        mask.setColorAt(0.07, Qt::black);
        mask.setColorAt(0.93, Qt::black);
        mask.setColorAt(1, Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.fillRect(QRectF(QPointF(0, 0), size), mask);
    }
    painter.drawImage(QRectF(QPointF(0, 0), size), garden);
    if (seal)
        drawSeal(painter, QRectF(size.width() - 6 - kSealSide, size.height() - 2 - kSealSide, kSealSide, kSealSide));
}

void KaresansuiView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool seal = m_seal;
    painter.drawImage(0, 0, m_cache.image(size(), PaintCache::deviceScale(painter),
                                            [seal](QPainter &p, QSizeF s) { draw(p, s, seal); }, seal ? 1 : 0));
}
