#pragma once

#include <QObject>

namespace tamapick {

class DrawAnnouncer;
class WindowControls;

// What the window `tamapick` tells its accessible interfaces: the buttons and labels it made,
// and what its draw announcer knows. The interfaces find it by qobject_cast, so they need not
// know the window's class; once the window is being taken down (its controls outlive the
// announcer by a moment then, and so do their interfaces) the cast finds nothing.
class AccessibleWindow {
public:
    virtual const WindowControls& controls() const = 0;
    virtual const DrawAnnouncer& drawAnnouncer() const = 0;

protected:
    ~AccessibleWindow() = default;
};

// Installs the accessible interfaces of the window, its number labels and its announcement box
// (once per process; the QApplication must exist). The window then reads to a screen reader as
// it reads on screen: headline, numbers left to right, remark line, buttons, credit line, with
// the pictures left out as decoration.
void installAccessibleInterfaces();

}  // namespace tamapick

Q_DECLARE_INTERFACE(tamapick::AccessibleWindow, "io.github.tamapick.AccessibleWindow")
