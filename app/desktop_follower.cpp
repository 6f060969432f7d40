#include "app/desktop_follower.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

#include "app/caption_fit.h"
#include "app/label_styles.h"
#include "app/window_design.h"
#include "app/window_fonts.h"

namespace tamapick {

namespace {

class DesktopFollower : public QObject {
public:
    explicit DesktopFollower(QWidget& window) : QObject(&window), window_(window) {
        followFonts();
        window.installEventFilter(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        // From Qt 6.5 the desktop reports its scheme; before that a change of scheme arrives as a
        // change of palette.
        connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this, [this] { followColours(); });
#endif
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
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

private:
    void followFonts() {
        const QFont desktop = windowDefaultFont();
        window_.setFont(desktop);
        fitCaptionsToTheirBoxes(window_, desktop);
    }

    void followColours() {
        for (const ControlDesign& design : windowControls()) {
            if (design.kind != ControlKind::Label) continue;
            if (auto* label = window_.findChild<QLabel*>(design.objectName(), Qt::FindDirectChildrenOnly))
                applyLabelColours(*label, design.style);
        }
    }

    // A font given in points takes more or fewer pixels on a screen of another dots per inch.
    void watchScreens() {
        QWindow* handle = window_.windowHandle();
        if (handle == nullptr || watchedWindow_ == handle) return;
        watchedWindow_ = handle;
        connect(handle, &QWindow::screenChanged, this, [this](QScreen* screen) {
            watchDotsPerInch(screen);
            followFonts();
        });
        watchDotsPerInch(handle->screen());
    }

    void watchDotsPerInch(QScreen* screen) {
        disconnect(dotsPerInch_);
        if (screen != nullptr)
            dotsPerInch_ = connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { followFonts(); });
    }

    QWidget& window_;
    QWindow* watchedWindow_ = nullptr;
    QMetaObject::Connection dotsPerInch_;
};

}  // namespace

void followTheDesktop(QWidget& window) { new DesktopFollower(window); }

}  // namespace tamapick
