// The real window for a test: made, shown and exposed, with its controls found by their design
// names. A test object keeps one and opens it in init() (or initTestCase()):
//     void init() { QVERIFY(window_.open()); }
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <memory>
#include <string>

#include "app/main_window.h"

namespace tamapick::testing {

class WindowFixture {
public:
    // False when the window never came on screen.
    [[nodiscard]] bool open() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        return QTest::qWaitForWindowExposed(window_.get());
    }
    // A fresh window that is not shown, for tests that only read what it was built with.
    void build() { window_ = std::make_unique<MainWindow>(); }
    void reset() { window_.reset(); }

    MainWindow* get() const { return window_.get(); }
    MainWindow* operator->() const { return window_.get(); }

    // Label1 ... Label9 and the buttons by object name ("miniroto_0", "roto6", ...).
    QLabel* label(int number) const { return window_->findChild<QLabel*>(QStringLiteral("Label%1").arg(number)); }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QWidget* control(const QString& objectName) const { return window_->findChild<QWidget*>(objectName); }

    std::string caption(int number) const { return label(number)->text().toStdString(); }
    // What every label the program writes shows, from Label1 on.
    QStringList captions() const {
        QStringList all;
        for (int number = 1; number <= labelNumber(kLastLabel); ++number) all << label(number)->text();
        return all;
    }

private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace tamapick::testing
