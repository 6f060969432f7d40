// The real window under stress, offscreen (the slow test): a burst of clicks posted during a real
// draw. (A close at any point of every draw: test_draws_qt.)
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include "app/main_window.h"
#include "caption_checks.h"
#include "lotteries.h"
#include "window_fixture.h"

using namespace tamapick;
using namespace tamapick::testing;

class HardeningTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;

    QPushButton* button(Lottery lottery) { return window_.button(factsOf(lottery).button); }

private slots:
    void init() { QVERIFY(window_.open()); }
    void cleanup() { window_.reset(); }

    // The slow test (about 52 s): 20 clicks on Numbers3 posted during a real Numbers 3 draw. Every
    // one runs its whole draw, nested in the pause that is waiting when it is delivered, so the
    // real time is the sum of the 21 draws. Afterwards the program is alive and idle, every
    // draw has beeped once, and the labels show a Numbers 3 end state.
    void aBurstOfPostedClicksRunsEveryDrawToItsEnd() {
        QPushButton* numbers3 = button(Lottery::Numbers3);
        const QPointF centre(numbers3->width() / 2.0, numbers3->height() / 2.0);
        const QPointF global = numbers3->mapToGlobal(centre);
        QTimer::singleShot(100, window_.get(), [&] {
            for (int i = 0; i < 20; ++i) {
                QCoreApplication::postEvent(numbers3, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(numbers3, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            }
        });
        QTest::mouseClick(numbers3, Qt::LeftButton);  // returns when the first draw, and all in it, ends
        QTRY_COMPARE_WITH_TIMEOUT(window_->runtime().beepsSounded(), 21, 10000);
        QCOMPARE(window_->form().drawsRunning(), 0);
        QVERIFY(window_->form().deepestNesting() >= 2);
        QVERIFY(window_->form().deepestNesting() <= 32);
        const QStringList end = window_.captions();
        for (int label = 0; label < 3; ++label) QVERIFY(isNumberIn(end[label].toStdString(), 0, 9));
        for (int label = 3; label < 6; ++label) QVERIFY(end[label].isEmpty());
        QVERIFY(isClosingRemark(end[6].toStdString()));
        QCOMPARE(end[7], QString::fromUtf8(factsOf(Lottery::Numbers3).headline));
        QVERIFY(window_->isVisible());
    }
};

QTEST_MAIN(HardeningTest)
#include "test_hardening_qt.moc"
