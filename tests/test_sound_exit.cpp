// Closing ends the program at once even where the sound server hangs: the real program (its
// exit included) runs against a private sound server that is stopped (SIGSTOP) before a draw's
// beep, and the window closes during that draw, right at its beep, after it, or while the first
// connection is still being opened. Each case runs TAMAPICK_EXIT_TRIES times (default 1) and
// prints the times from the close to the end of the process.
#include <QProcess>
#include <QtTest>
#include <algorithm>

#include "private_sound_server.h"

using namespace tamapick::testing;

namespace {

// What a user may call "at once". The assertion leaves room for a loaded two-core machine; the
// times themselves are printed, and are a small fraction of it.
constexpr double kExitLimit = 1.0;

int triesFromEnvironment() { return std::max(1, qEnvironmentVariableIntValue("TAMAPICK_EXIT_TRIES")); }

}  // namespace

class SoundExitTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PrivateSoundServer> server_;

    // Runs the probe once; the time from its close to its end, or a failure.
    std::optional<double> exitTime(const QString& when) {
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PULSE_SERVER"), server_->address());
        environment.insert(QStringLiteral("CANBERRA_DRIVER"), QStringLiteral("pulse"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), server_->directory());
        probe.setProcessEnvironment(environment);
        probe.setProcessChannelMode(QProcess::SeparateChannels);
        if (when == QLatin1String("while-connecting")) server_->hang();
        probe.start(QStringLiteral(PROBE_PATH), {when});
        if (!probe.waitForStarted(5000)) return std::nullopt;
        if (when != QLatin1String("while-connecting")) {
            if (!probe.waitForReadyRead(20000) || !probe.readLine().startsWith("ready")) {
                qWarning() << "the first draw did not end:" << probe.readAllStandardError();
                return std::nullopt;
            }
            server_->hang();
            probe.write("\n");
        }
        bool finished = probe.waitForFinished(20000);
        const double endedAt = secondsOf(Clock::now());
        server_->resume();
        if (!finished) {
            probe.kill();
            probe.waitForFinished();
            qWarning() << "the program did not end";
            return std::nullopt;
        }
        const QByteArray output = probe.readAllStandardOutput();
        const QByteArray errors = probe.readAllStandardError();
        const qsizetype at = output.indexOf("closed ");
        if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0 || at < 0) {
            qWarning() << "exit status" << probe.exitCode() << output << errors;
            return std::nullopt;
        }
        if (errors.contains("Sanitizer") || errors.contains("runtime error")) {
            qWarning() << "sanitizer report:" << errors;
            return std::nullopt;
        }
        return endedAt - output.mid(at + 7, output.indexOf('\n', at) - at - 7).toDouble();
    }

private slots:
    void initTestCase() {
        const SoundServerKind kind = soundServerKindFromEnvironment();
        if (const QString reason = PrivateSoundServer::whyNotRunnable(kind); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        server_ = std::make_unique<PrivateSoundServer>(kind);
        QVERIFY(server_->start());
    }
    void cleanupTestCase() { server_.reset(); }

    void closingEndsTheProgramAtOnceWhileTheServerHangs_data() {
        QTest::addColumn<QString>("when");
        QTest::newRow("closed during the draw") << QStringLiteral("during");
        QTest::newRow("closed right at the beep") << QStringLiteral("at-beep");
        QTest::newRow("closed after the beep") << QStringLiteral("after");
        QTest::newRow("closed while connecting") << QStringLiteral("while-connecting");
    }
    void closingEndsTheProgramAtOnceWhileTheServerHangs() {
        QFETCH(QString, when);
        std::vector<double> times;
        for (int i = 0; i < triesFromEnvironment(); ++i) {
            const auto time = exitTime(when);
            QVERIFY2(time.has_value(), "the program failed or did not end");
            times.push_back(*time);
        }
        std::sort(times.begin(), times.end());
        const double median = (times[(times.size() - 1) / 2] + times[times.size() / 2]) / 2;
        qInfo("%s: exit %.0f / %.0f / %.0f ms (min / median / max of %zu)", qPrintable(when), times.front() * 1000,
              median * 1000, times.back() * 1000, times.size());
        QVERIFY2(times.back() < kExitLimit, "closing waited for the hung sound server");
    }
};

QTEST_MAIN(SoundExitTest)
#include "test_sound_exit.moc"
