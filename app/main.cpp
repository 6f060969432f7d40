#include <QApplication>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
    // Who the program is, for the desktop: the desktop file name lets the task bar match the
    // window to the installed desktop entry, and through it to the themed icon. No display name
    // is set: Qt would append it to the title bar, which must read just "ほしだま★".
    QApplication::setApplicationName(QStringLiteral("tamapick"));
    QApplication::setApplicationVersion(QStringLiteral(TAMAPICK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TAMAPICK_APP_ID));

    QApplication app(argc, argv);
    tamapick::MainWindow window;
    window.show();
    return QApplication::exec();
}
