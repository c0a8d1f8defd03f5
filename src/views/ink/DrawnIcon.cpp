#include "views/ink/DrawnIcon.h"

#include "core/Kiv.h"
#include "views/ink/DeviceSlices.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace {

class Engine : public QIconEngine
{
public:
    Engine(DrawnIcon::Draw draw, QList<int> sides) : m_draw(std::move(draw)), m_sides(std::move(sides)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QSize pixels(int(std::ceil(rect.width() * dpr)), int(std::ceil(rect.height() * dpr)));
        painter->drawPixmap(rect, scaledPixmap(pixels, mode, state, dpr));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // size is in pixels; the picture is drawn for a screen of ratio scale.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        if (size.isEmpty())
            return QPixmap();
        if (!(scale > 0))
            scale = 1.0;
        const Key key{size.width(), size.height(), int(std::lround(scale * 100)), int(Kiv::appearance())};
        auto found = m_drawn.constFind(key);
        if (found != m_drawn.constEnd())
            return *found;
        QPixmap pixmap(size);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        // A tray's icon changes while a round runs, minimised or not: drawn
        // a few device lines at a time, it wakes no other thread.
        const QSizeF logical = QSizeF(size) / scale;
        DeviceSlices::paint(painter, 0, logical.height(), kBandLines, [&](double, double) { m_draw(painter, logical); });
        painter.end();
        m_drawn.insert(key, pixmap);
        return pixmap;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : m_sides)
            sizes.append(QSize(side, side));
        return sizes;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new Engine(m_draw, m_sides); }
    QString key() const override { return QStringLiteral("DrawnIcon"); }

private:
    static constexpr int kBandLines = 4;

    struct Key
    {
        int width, height, scale, appearance;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &k, size_t seed = 0)
    {
        return qHashMulti(seed, k.width, k.height, k.scale, k.appearance);
    }

    DrawnIcon::Draw m_draw;
    QList<int> m_sides;
    QHash<Key, QPixmap> m_drawn;
};

} // namespace

namespace DrawnIcon {

QIcon make(Draw draw, QList<int> sides)
{
    return QIcon(new Engine(std::move(draw), std::move(sides)));
}

} // namespace DrawnIcon
