#include "views/ink/ThemeBinding.h"

#include "platform/desktop/AppearanceSource.h"

#include <QApplication>
#include <QEvent>
#include <QToolTip>
#include <QWidget>

ThemeBinding::ThemeBinding(AppearanceSource *source, QObject *parent)
    : QObject(parent)
    , m_source(source)
{
    connect(source, &AppearanceSource::changed, this, &ThemeBinding::apply);
    qApp->installEventFilter(this);
    apply(source->current());
}

ThemeBinding::~ThemeBinding() = default;

void ThemeBinding::applyTo(QWidget *window)
{
    const QPalette palette = Kiv::palette(Kiv::appearance());
    if (window->palette() != palette)
        window->setPalette(palette);
}

bool ThemeBinding::eventFilter(QObject *watched, QEvent *event)
{
    // Windows made later (a new sheet, a context menu) take the palette as
    // they are first polished.
    if (event->type() == QEvent::Polish && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow())
            applyTo(widget);
    }
    return false;
}

void ThemeBinding::apply(Kiv::Appearance appearance)
{
    Kiv::setAppearance(appearance);
    // The application's palette too: the toolkit reads it for what belongs
    // to no window yet (the rows of a drop-down's list take the menus').
    QApplication::setPalette(Kiv::palette(appearance));
    QToolTip::setPalette(Kiv::palette(appearance));
    // A new palette sends every widget a palette change, which repaints it;
    // painted widgets then draw in the other appearance's colours.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        applyTo(window);
    emit appearanceChanged(appearance);
}
