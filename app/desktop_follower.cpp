#include "app/desktop_follower.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

#include "app/caption_fit.h"
#include "app/label_styles.h"
#include "app/window_controls.h"
#include "app/window_fonts.h"

namespace tamapick {

DesktopFollower::DesktopFollower(QWidget& window, const WindowControls& controls)
    : window_(window), controls_(controls) {
    followFonts();
    window.installEventFilter(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // From Qt 6.5 the desktop reports its scheme; before that a change of scheme arrives as a
    // change of palette.
    connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this, [this] { followColours(); });
#endif
}

bool DesktopFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
        case QEvent::ApplicationFontChange:
            followFonts();
            break;
        case QEvent::ApplicationPaletteChange:
            followColours();
            break;
        case QEvent::StyleChange:  // a style brings its own margins, and may bring a palette
        case QEvent::ThemeChange:
            followFonts();
            followColours();
            break;
        case QEvent::Show:
            watchScreens();
            break;
        default:
            break;
    }
    return false;
}

void DesktopFollower::followFonts() {
    const QFont desktop = windowDefaultFont();
    window_.setFont(desktop);
    fitCaptionsToTheirBoxes(controls_, desktop);
}

void DesktopFollower::followColours() {
    for (const WindowControls::StyledLabel& styled : controls_.styledLabels())
        applyLabelColours(*styled.label, styled.style);
}

// A font given in points takes more or fewer pixels on a screen of another dots per inch.
void DesktopFollower::watchScreens() {
    QWindow* handle = window_.windowHandle();
    if (handle == nullptr || watchedWindow_ == handle) return;
    watchedWindow_ = handle;
    connect(handle, &QWindow::screenChanged, this, [this](QScreen* screen) {
        watchDotsPerInch(screen);
        followFonts();
    });
    watchDotsPerInch(handle->screen());
}

void DesktopFollower::watchDotsPerInch(QScreen* screen) {
    disconnect(dotsPerInch_);
    if (screen != nullptr)
        dotsPerInch_ = connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { followFonts(); });
}

}  // namespace tamapick
