#include "app/AppDelegate.h"

#include "platform/notify/NotificationCenter.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"

#include <QApplication>

namespace AppDelegate {

bool quitsAfterLastWindow(bool trayAvailable)
{
    return !trayAvailable;
}

void launch(QApplication &app, NotificationCenter &center, Notifier &notifier, NoticeRoute &route,
            bool trayAvailable)
{
    notifier.setCenter(&center);
    route.listen(&center);
    app.setQuitOnLastWindowClosed(quitsAfterLastWindow(trayAvailable));
}

} // namespace AppDelegate
