#pragma once

#include "core/Kiv.h"

#include <QObject>

class AppearanceSource;
class QWidget;

// Keeps the theme's appearance in step with the desktop: copies the
// source's light or dark into Kiv at once and on every change, gives every
// window (present and future, menus and tool tips included) the palette of
// that appearance, and so makes every window repaint in the other colours.
// The program makes one; still pictures and tests make one over a fake.
class ThemeBinding : public QObject
{
    Q_OBJECT
public:
    explicit ThemeBinding(AppearanceSource *source, QObject *parent = nullptr);
    ~ThemeBinding() override;

    // Gives one window the palette of the appearance in effect.
    static void applyTo(QWidget *window);

signals:
    // After Kiv and the windows have changed.
    void appearanceChanged(Kiv::Appearance appearance);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply(Kiv::Appearance appearance);

    AppearanceSource *m_source;
};
