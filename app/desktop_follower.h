#pragma once

#include <QMetaObject>
#include <QObject>

class QScreen;
class QWidget;
class QWindow;

namespace tamapick {

class WindowControls;

// Keeps the window in step with the desktop it runs on: the buttons and the credit line in the
// desktop's user-interface font, at a size their captions fit (chosen as it is made, before the
// first paint), and the labels on the artwork in legible colours; both chosen again whenever the
// desktop's font, style, palette, colour scheme or screen changes while the program runs. The
// window makes it once its controls exist and keeps it for no longer than it keeps them.
class DesktopFollower : public QObject {
public:
    DesktopFollower(QWidget& window, const WindowControls& controls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followFonts();
    void followColours();
    void watchScreens();
    void watchDotsPerInch(QScreen* screen);

    QWidget& window_;
    const WindowControls& controls_;
    QWindow* watchedWindow_ = nullptr;
    QMetaObject::Connection dotsPerInch_;
};

}  // namespace tamapick
