#pragma once

#include <optional>

class AppModel;
class Desktop;

// What every view is handed by its parent when it is built: the
// application model, the desktop it asks for panels and the clipboard, and
// the two values of a still-picture renderer. A view passes it on to the
// views it builds; nothing else reaches for globals except the theme (Kiv).
struct ViewContext
{
    // The coordinator every screen reads and calls (null only where a view
    // needs no model, as the reading pages).
    AppModel *model = nullptr;
    // True while the views are drawn as still pictures: they then leave out
    // side effects (refreshes, network checks, focus) and scrolling, and
    // show static text in place of text fields.
    bool snapshot = false;
    // The page of the introduction to draw, instead of its own page index.
    std::optional<int> introPage;
    // File panels, the clipboard, links and folders; null: the real
    // desktop. Tests put a fake here.
    Desktop *desktop = nullptr;

    // The desktop to ask: the given one, else the real one.
    Desktop &desk() const;
};
