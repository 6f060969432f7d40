// The real pause while the time of day changes under it. ctest runs this under libfaketime, which
// moves the wall clock the program sees (the time of day, the realtime clock) whenever the test
// rewrites its offset file, and leaves the monotonic clock alone. A pause timed on the wall clock
// would end at once when the clock is set forward, or wait an hour when it is set back or passes
// midnight (for a clock counted from midnight).
#include <QDateTime>
#include <QSaveFile>
#include <QTimer>
#include <QtTest>
#include <chrono>

#include "primitives/primitives.h"
#include "runtime/qt_runtime.h"

using namespace tamapick;
using Clock = std::chrono::steady_clock;

namespace {

// Moves the wall clock the program sees to `seconds` from the real time of day. The file is
// replaced whole (written beside it, then renamed): libfaketime reads it at every clock call, and
// newer versions end the process when they catch it truncated and still empty.
bool setWallClockOffset(double seconds) {
    QSaveFile file(qEnvironmentVariable("FAKETIME_TIMESTAMP_FILE"));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QByteArray::number(seconds, 'f', 3).prepend(seconds >= 0 ? "+" : ""));
    return file.commit();
}

}  // namespace

class PauseWallClockTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("faketime")) ||
            qEnvironmentVariableIsEmpty("FAKETIME_TIMESTAMP_FILE")) {
            QFAIL("run this under libfaketime, as ctest does");
        }
    }
    void cleanupTestCase() { setWallClockOffset(0); }

    void aPauseLastsItsTimeWhateverTheWallClockDoes_data() {
        QTest::addColumn<bool>("nearMidnight");  // the pause starts 0.05 s before midnight
        QTest::addColumn<double>("jump");        // the clock is set by this much 0.1 s into the pause
        QTest::newRow("set forward one hour") << false << 3600.0;
        QTest::newRow("set back one hour") << false << -3600.0;
        QTest::newRow("across midnight") << true << 0.0;
    }
    void aPauseLastsItsTimeWhateverTheWallClockDoes() {
        QFETCH(bool, nearMidnight);
        QFETCH(double, jump);
        QtRuntime runtime;
        double offset = 0;
        QVERIFY(setWallClockOffset(offset));
        if (nearMidnight) {
            const QDateTime now = QDateTime::currentDateTime();
            offset = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0))) / 1000.0 - 0.05;
            QVERIFY(setWallClockOffset(offset));
        }
        const QDateTime wallAtStart = QDateTime::currentDateTime();
        QDateTime wallAfterJump;
        QTimer jumper;
        jumper.setSingleShot(true);
        connect(&jumper, &QTimer::timeout, this, [&] {
            setWallClockOffset(offset + jump);
            wallAfterJump = QDateTime::currentDateTime();
        });
        jumper.start(100);
        // A pause left waiting for the wall clock's hour to come round again is ended by the close.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [&] { runtime.markClosing(); });
        watchdog.start(3000);

        const auto start = Clock::now();
        bool endedByTheClose = false;
        try {
            PauseSeconds(runtime, 0.3);
        } catch (const WindowClosed&) {
            endedByTheClose = true;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        QVERIFY2(!endedByTheClose, "the pause still waited after 3 s");
        QVERIFY2(seconds >= 0.3 && seconds < 1.5, qPrintable(QString::number(seconds)));
        // The program did see the wall clock move (or pass midnight), so the pause could have followed it.
        QVERIFY(wallAfterJump.isValid());
        const double moved = wallAtStart.msecsTo(wallAfterJump) / 1000.0;
        QVERIFY2(std::abs(moved - jump - 0.1) < 0.5, qPrintable(QString::number(moved)));
        if (nearMidnight) QVERIFY(wallAfterJump.date() != wallAtStart.date());
    }
};

QTEST_MAIN(PauseWallClockTest)
#include "test_pause_wall_clock.moc"
