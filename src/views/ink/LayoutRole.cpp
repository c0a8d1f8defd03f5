#include "views/ink/LayoutRole.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char *kOverlay = "layoutOverlay";
constexpr const char *kFace = "layoutPaintedFace";
constexpr const char *kElide = "layoutMayElide";
} // namespace

namespace LayoutRole {

void setOverlay(QWidget *widget, bool overlay)
{
    widget->setProperty(kOverlay, overlay);
}

bool isOverlay(const QWidget *widget)
{
    return widget->property(kOverlay).toBool();
}

void setPaintedFace(QWidget *widget, bool face)
{
    widget->setProperty(kFace, face);
}

bool isPaintedFace(const QWidget *widget)
{
    return widget->property(kFace).toBool();
}

void setMayElide(QWidget *widget, bool mayElide)
{
    widget->setProperty(kElide, mayElide);
}

bool mayElide(const QWidget *widget)
{
    return widget->property(kElide).toBool();
}

} // namespace LayoutRole
