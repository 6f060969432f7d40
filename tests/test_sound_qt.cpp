// The closing beep as a user hears it: real draws in the real window, played through a private
// sound server whose output is recorded: PulseAudio, or PipeWire where TAMAPICK_SOUND_SERVER says
// "pipewire". Runs on whichever platform QT_QPA_PLATFORM names (offscreen here, Wayland under
// run_on_weston.sh).
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/main_window.h"
#include "caption_checks.h"
#include "private_sound_server.h"
#include "runtime/desktop_beep.h"

using namespace tamapick;
using namespace tamapick::testing;
using namespace std::chrono_literals;

class SoundTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PrivateSoundServer> server_;
    std::unique_ptr<MainWindow> window_;

    void click(const char* name) {
        QTest::mouseClick(window_->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    std::string caption(int label) {
        return window_->findChild<QLabel*>(QStringLiteral("Label%1").arg(label))->text().toStdString();
    }
    void openWindow() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    // One Numbers 3 draw; true if its beep was heard in the second after the closing remark.
    // How soon is the first test's question; here it is whether the server plays it at all, so
    // a late beep is not taken for a missing one. It says what it heard, as `which` draw.
    bool drawIsHeard(const char* which) {
        click("Numbers3");
        const auto remarkAt = Clock::now();
        server_->recordUntil(remarkAt + 1s);
        const auto sound = server_->firstSoundAfter(secondsOf(remarkAt) - PrivateSoundServer::kClockUncertainty);
        if (!sound) {
            qInfo("%s: no sound within 1 s of the closing remark", which);
            return false;
        }
        qInfo("%s: the alert starts %.0f ms after the closing remark", which, (*sound - secondsOf(remarkAt)) * 1000);
        return true;
    }

private slots:
    void initTestCase() {
        const SoundServerKind kind = soundServerKindFromEnvironment();
        if (const QString reason = PrivateSoundServer::whyNotRunnable(kind); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        // The program names itself to the sound server and the compositor as installed.
        QGuiApplication::setDesktopFileName(QStringLiteral(TAMAPICK_APP_ID));
        // Only the sound server: no ALSA fallback to a sound card of the machine running the test.
        qputenv("CANBERRA_DRIVER", "pulse");
        server_ = std::make_unique<PrivateSoundServer>(kind);
        QVERIFY(server_->start());
        // The sound library's lookup cache goes with the test's server, not into the home directory.
        qputenv("XDG_CACHE_HOME", server_->directory().toLocal8Bit());
    }
    void cleanupTestCase() { server_.reset(); }

    void init() {
        qputenv("PULSE_SERVER", server_->address().toLocal8Bit());
        openWindow();
    }
    void cleanup() { window_.reset(); }

    // Silence through the draw; the alert starts within 250 ms of the closing remark.
    void theClosingRemarkIsFollowedByTheAlertSound() {
        const double clickedAt = secondsOf(Clock::now());
        click("Numbers3");
        // The click returns right after the closing remark and its beep.
        const auto remarkAt = Clock::now();
        QVERIFY(isClosingRemark(caption(7)));
        server_->recordUntil(remarkAt + 1s);

        const auto sound = server_->firstSoundAfter(clickedAt);
        QVERIFY2(sound.has_value(), "no sound during or after the draw");
        const double delay = *sound - secondsOf(remarkAt);
        const double peak = server_->peakDbfsBetween(*sound, *sound + 0.5);
        const double length = server_->soundLengthFrom(*sound);
        qInfo("alert through %s: starts %.0f ms after the closing remark, peak %.1f dBFS, lasts %.0f ms",
              qPrintable(server_->name()), delay * 1000, peak, length * 1000);
        QVERIFY2(delay > -PrivateSoundServer::kClockUncertainty, "a sound before the closing remark");
        QVERIFY2(delay <= 0.25, "the alert comes too late");
        QVERIFY(peak > -30.0);
        QVERIFY(length > 0.05);
    }

    // A draw cut short by the close never beeps, and a beep still sounding stops with the window.
    void nothingSoundsAfterTheWindowCloses() {
        QTimer::singleShot(1000, window_.get(), [this] { window_->close(); });
        click("Numbers3");
        const auto closedAt = Clock::now();
        server_->recordUntil(closedAt + 1500ms);
        QVERIFY(server_->silentBetween(secondsOf(closedAt) - 1.0, secondsOf(closedAt) + 1.5));

        openWindow();
        click("Numbers3");
        window_->close();
        const auto secondClose = Clock::now();
        server_->recordUntil(secondClose + 1s);
        // The server may start the alert a moment after the close, whenever it gets to it; it
        // is cut off all the same, well before its 100 ms and more.
        if (const auto sound = server_->firstSoundAfter(secondsOf(secondClose) - 0.5)) {
            const double length = server_->soundLengthFrom(*sound);
            qInfo("the alert of the draw closed at its end starts %.0f ms after the close and lasts %.0f ms",
                  (*sound - secondsOf(secondClose)) * 1000, length * 1000);
            QVERIFY2(length < 0.05, "the alert went on after the window closed");
        }
    }

    // The server restarts between two draws, as an upgrade restarts the user's service (every
    // process of it ends on SIGTERM and starts again on the same sockets) or after a crash: the
    // next draw finds the new one.
    void aRestartedServerIsHeardAtTheNextDraw_data() {
        QTest::addColumn<bool>("afterACrash");
        QTest::newRow("restarted by the session") << false;
        QTest::newRow("started again after a crash") << true;
    }
    void aRestartedServerIsHeardAtTheNextDraw() {
        QFETCH(bool, afterACrash);
        QVERIFY(drawIsHeard("before the restart"));
        QVERIFY(server_->restart(afterACrash ? PrivateSoundServer::Restart::AfterACrash
                                             : PrivateSoundServer::Restart::AsTheSessionDoes));
        QVERIFY2(drawIsHeard("after the restart"), "no beep from the restarted server");
    }

    // No server when the program starts; one comes up before the third draw and is heard there.
    void aServerThatComesLaterIsHeardAtTheNextDraw() {
        server_->kill();
        openWindow();
        click("Numbers3");
        click("Numbers3");
        QVERIFY(server_->restart());
        QVERIFY2(drawIsHeard("from the server that came later"), "no beep from the server that came after start-up");
    }

    // Where no sound server answers, each alert is the toolkit's beep, and none after the close.
    void withoutASoundServerTheToolkitBeeps() {
        qputenv("PULSE_SERVER", "unix:/nonexistent/tamapick-test");
        int toolkitBeeps = 0;
        DesktopBeep beep("tamapick", "", [&] { ++toolkitBeeps; });
        beep.prepare();
        beep.play();
        QTRY_COMPARE(toolkitBeeps, 1);
        beep.play();
        QCOMPARE(toolkitBeeps, 2);
        beep.silence();
        beep.play();
        QTest::qWait(50);
        QCOMPARE(toolkitBeeps, 2);
    }
};

QTEST_MAIN(SoundTest)
#include "test_sound_qt.moc"
