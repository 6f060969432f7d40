#include <QApplication>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
    // Who the program is, for the desktop: the task bar matches the window to the installed
    // desktop entry, and through it to the themed icon, by the desktop file name on Wayland and
    // by the window class, the application name, on X11 (the entry's StartupWMClass). No display
    // name is set: Qt would append it to the title bar, which must read just "ほしだま★".
    QApplication::setApplicationName(QStringLiteral("tamapick"));
    QApplication::setApplicationVersion(QStringLiteral(TAMAPICK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TAMAPICK_APP_ID));

    QApplication app(argc, argv);
    tamapick::MainWindow window;
    window.show();
    return QApplication::exec();
}
