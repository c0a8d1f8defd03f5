#pragma once

class NotificationCenter;
class NoticeRoute;
class Notifier;
class QApplication;

// The program's duties towards the desktop at launch: notices go out
// through the desktop's notification service and taps on them come back
// through the notice route; closing the last window keeps the program
// running in the tray, or quits it where the desktop has no tray (it could
// not be reached again otherwise).
namespace AppDelegate {

// Whether closing the last window ends the program.
bool quitsAfterLastWindow(bool trayAvailable);

// Routes the center's notices and taps (the center outlives the program's run).
void launch(NotificationCenter &center, Notifier &notifier, NoticeRoute &route);
// Once the desktop has said whether it has a tray: whether closing the last
// window quits. (Asking takes a round trip to the desktop, so the program
// asks once its first window shows; until then Qt's own rule stands.)
void trayKnown(QApplication &app, bool trayAvailable);

} // namespace AppDelegate
