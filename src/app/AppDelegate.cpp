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

void launch(NotificationCenter &center, Notifier &notifier, NoticeRoute &route)
{
    notifier.setCenter(&center);
    route.listen(&center);
}

void trayKnown(QApplication &app, bool trayAvailable)
{
    app.setQuitOnLastWindowClosed(quitsAfterLastWindow(trayAvailable));
}

} // namespace AppDelegate
