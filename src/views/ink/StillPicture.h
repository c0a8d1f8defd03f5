#pragma once

#include "core/Kiv.h"

#include <QImage>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QPainter;
class QWidget;

// Still pictures of drawings and whole widgets, for looking at what
// was built and for pixel checks: drawn offscreen at any device pixel
// ratio, in light or dark, at any text scale, in either language.
namespace StillPicture {

// The look a picture is drawn in. While a Setting is applied the theme,
// the text scale and the language are those of the setting, and every
// animation jumps to its end; the previous state comes back afterwards.
struct Setting
{
    Kiv::Appearance appearance = Kiv::Appearance::light;
    double scale = 1.0;
    bool japanese = true;
    double devicePixelRatio = 1.0;

    // A short tag for file names: "light-1.0", "dark-1.6-ja@2x".
    QString tag() const;
};

// Every look a screen is checked in: Japanese and English, light and dark,
// text scale 1.0 and 1.6, at one device pixel ratio.
QList<Setting> everySetting(double devicePixelRatio = 1.0);

class Applied
{
public:
    explicit Applied(const Setting &setting);
    ~Applied();
    Applied(const Applied &) = delete;
    Applied &operator=(const Applied &) = delete;

private:
    Kiv::Appearance m_appearance;
    double m_scale;
    bool m_instant;
};

// A picture of `size` logical pixels at the setting's pixel ratio: the
// paper colour (or `background` when given) behind whatever `draw` paints.
QImage paint(QSize size, double devicePixelRatio, const std::function<void(QPainter &, QSizeF)> &draw,
             std::optional<QColor> background = std::nullopt);
// A picture of a widget (and its children) at its current size.
QImage grab(QWidget *widget, double devicePixelRatio);
// Writes a picture as `folder`/`name`.png, making the folder; false on
// failure.
bool save(const QImage &image, const QString &folder, const QString &name);

} // namespace StillPicture
