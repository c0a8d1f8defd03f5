#include "views/ink/StillPicture.h"

#include "core/L.h"
#include "views/ink/Motion.h"

#include <QDir>
#include <QPainter>
#include <QWidget>
#include <cmath>

namespace StillPicture {

QList<Setting> everySetting(double devicePixelRatio)
{
    using A = Kiv::Appearance;
    QList<Setting> out;
    for (bool japanese : {true, false})
        for (A a : {A::light, A::dark})
            for (double scale : {1.0, 1.6})
                out.append({a, scale, japanese, devicePixelRatio});
    return out;
}

QString Setting::tag() const
{
    QString t = QStringLiteral("%1-%2-%3")
                    .arg(appearance == Kiv::Appearance::dark ? QStringLiteral("dark") : QStringLiteral("light"))
                    .arg(scale, 0, 'f', 1)
                    .arg(japanese ? QStringLiteral("ja") : QStringLiteral("en"));
    if (devicePixelRatio != 1.0)
        t += QStringLiteral("@%1x").arg(devicePixelRatio);
    return t;
}

Applied::Applied(const Setting &setting)
    : m_appearance(Kiv::appearance())
    , m_scale(Kiv::scale())
    , m_instant(Motion::isInstant())
{
    Kiv::setAppearance(setting.appearance);
    Kiv::setScale(setting.scale);
    Lang::setForTesting(setting.japanese);
    Motion::setInstant(true);
}

Applied::~Applied()
{
    Kiv::setAppearance(m_appearance);
    Kiv::setScale(m_scale);
    Lang::setForTesting(std::nullopt);
    Motion::setInstant(m_instant);
}

QImage paint(QSize size, double devicePixelRatio, const std::function<void(QPainter &, QSizeF)> &draw,
             std::optional<QColor> background)
{
    QImage image(QSize(int(std::ceil(size.width() * devicePixelRatio)), int(std::ceil(size.height() * devicePixelRatio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(background.value_or(Kiv::paper()));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, QSizeF(size));
    return image;
}

QImage grab(QWidget *widget, double devicePixelRatio)
{
    QImage image(QSize(int(std::ceil(widget->width() * devicePixelRatio)),
                       int(std::ceil(widget->height() * devicePixelRatio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Kiv::paper());
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool save(const QImage &image, const QString &folder, const QString &name)
{
    if (!QDir().mkpath(folder))
        return false;
    return image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace StillPicture
