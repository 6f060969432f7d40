// The program as its main() runs it, with a script for test_sound_exit: a first Numbers 3 draw
// connects to the sound server and beeps; then, once the test has made the server hang, a second
// draw, and the window closes during it, right at its beep or half a second after it. It prints
// the moment of the close on the monotonic clock, so the test can tell how long the exit took.
// Usage: sound_exit_probe during|at-beep|after|while-connecting
// ("while-connecting": no first draw; the server hangs from the start, and the window closes
// one second into the first draw, while the connection is still being opened.)
#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "app/main_window.h"

namespace {

void closeAndReport(tamapick::MainWindow& window) {
    const double now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    std::printf("closed %.6f\n", now);
    std::fflush(stdout);
    window.close();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication::setApplicationName(QStringLiteral("tamapick"));
    QApplication::setDesktopFileName(QStringLiteral(TAMAPICK_APP_ID));
    QApplication app(argc, argv);
    const std::string when = argc > 1 ? argv[1] : "";
    tamapick::MainWindow window;
    window.show();
    auto* numbers3 = window.findChild<QPushButton*>(QStringLiteral("Numbers3"));
    QTimer::singleShot(0, &window, [&] {
        if (when != "while-connecting") {
            numbers3->click();  // returns when the draw has ended, right after asking for the beep
            // The beep is set up on the server in the background: the hang must come after it.
            QEventLoop settle;
            QTimer::singleShot(1000, &settle, &QEventLoop::quit);
            settle.exec();
            std::printf("ready\n");
            std::fflush(stdout);
            std::string line;
            std::getline(std::cin, line);  // the server hangs now
        }
        if (when == "during" || when == "while-connecting") {
            QTimer::singleShot(1000, &window, [&] { closeAndReport(window); });
        }
        numbers3->click();
        if (when == "at-beep") closeAndReport(window);
        if (when == "after") QTimer::singleShot(500, &window, [&] { closeAndReport(window); });
    });
    return QApplication::exec();
}
