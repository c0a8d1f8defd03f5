#pragma once

#include "views/ink/Animation.h"
#include "views/ink/InkButton.h"

class AppSettings;
class Crossfade;

// The pin in the main window's top-trailing corner: it flips the
// "alwaysOnTop" preference. Pinned, it stands upright in vermilion on a
// raised-paper disc with a faint vermilion ring; unpinned it leans 30° in
// soft ink, and the disc with a hairline ring shows only under the pointer.
// Only the round disc takes clicks.
class PinButton : public InkButton
{
    Q_OBJECT
public:
    explicit PinButton(AppSettings &settings, QWidget *parent = nullptr);

    bool isPinned() const { return m_pinned; }
    // The lean of the moment, in degrees (30 unpinned, 0 pinned).
    double tilt() const { return m_tilt.value(); }
    // The old look over the new while the pinned state changes.
    Crossfade *crossfade() const { return m_fade; }

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override;

private:
    void refresh(bool animated);

    AppSettings &m_settings;
    bool m_pinned = false;
    Animation m_tilt;
    Crossfade *m_fade = nullptr;
};
