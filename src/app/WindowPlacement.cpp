#include "app/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {

QPoint beside(const QRect &main, const QSize &window, const QRect &available)
{
    QPoint at;
    if (main.right() + 1 + kGap + window.width() <= available.right() + 1)
        at = QPoint(main.right() + 1 + kGap, main.top());
    else if (main.left() - kGap - window.width() >= available.left())
        at = QPoint(main.left() - kGap - window.width(), main.top());
    else
        at = QPoint(main.left() + (main.width() - window.width()) / 2, main.top() + (main.height() - window.height()) / 2);
    return within(at, window, available);
}

QPoint within(QPoint at, const QSize &window, const QRect &available)
{
    // The top-left corner wins where the window is the larger.
    at.setX(std::max(available.left(), std::min(at.x(), available.right() + 1 - window.width())));
    at.setY(std::max(available.top(), std::min(at.y(), available.bottom() + 1 - window.height())));
    return at;
}

} // namespace WindowPlacement
