#include <QApplication>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tamapick::MainWindow window;
    window.show();
    return QApplication::exec();
}
