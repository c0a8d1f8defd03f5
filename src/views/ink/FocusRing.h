#pragma once

class QFocusEvent;

// When a focus ring shows: when the user works with the keyboard. A widget
// that takes the focus asks shows() with its focus-in event: a focus that
// came by Tab or a shortcut shows its ring; one that came by a click never
// does; one that the program moved (Qt::OtherFocusReason), or that fell to
// the next widget because the focused one went (given inside a Falling),
// shows it only when the user's last input was a key. So a click leaves no
// ring behind, and a keyboard user sees where every move put the focus.
namespace FocusRing {

// Starts watching the user's input (once; every painted control calls it),
// and gives every scrolling page its focus ring (FocusFrame).
void watch();
// Whether the user's last input was a key press.
bool keyboardLast();
// Whether a widget taking the focus with this event shows its ring.
bool shows(const QFocusEvent *event);
// The same for a widget whose ring showed (or not) before: the focus coming
// back from another window or a popup brings back what it was.
bool shows(const QFocusEvent *event, bool before);
// Whether the user gave the widget the focus, by a click or from the
// keyboard, so that Space and Return act on it (a focus that fell to it
// after a click elsewhere does not count).
bool givenByUser(const QFocusEvent *event);

// While one lives, the focus given is one that fell to its widget because
// the focused one went (ReadingOrder makes one).
class Falling
{
public:
    Falling();
    ~Falling();
    Falling(const Falling &) = delete;
    Falling &operator=(const Falling &) = delete;
};

} // namespace FocusRing
