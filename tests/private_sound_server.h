// A PulseAudio server of the test's own, playing into a null sink whose monitor is recorded, so
// a test can hear what the program played and when. Both processes die with the test, also
// when it crashes.
#pragma once

#include <sys/prctl.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <optional>
#include <vector>

namespace tamapick::testing {

using Clock = std::chrono::steady_clock;

inline double secondsOf(Clock::time_point t) { return std::chrono::duration<double>(t.time_since_epoch()).count(); }

class PrivateSoundServer {
public:
    static constexpr int kRate = 16000;
    // Digital silence is exactly zero on a null sink; anything above -50 dBFS is a sound.
    static constexpr int kSilenceLimit = 100;
    // How far the recording's times may be off: the server renders ahead in blocks of about
    // the recorder's 10 ms latency, by an amount that varies under load.
    static constexpr double kClockUncertainty = 0.03;

    static bool toolsInstalled() {
        return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty();
    }

    // Starts the server and the recorder; false (with the server's output logged) if either fails.
    bool start() {
        if (!dir_.isValid()) return false;
        const QString socket = dir_.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Everything the server keeps (cookie, state, runtime files) stays in the private directory.
        env.insert(QStringLiteral("HOME"), dir_.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir_.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("PULSE_STATE_PATH"), dir_.filePath(QStringLiteral("state")));
        server_.setProcessEnvironment(env);
        dieWithTest(server_);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        // -n: no default script, so no hardware, D-Bus or X11 modules. As root the server runs
        // per-user all the same (--system=no); it only warns about it.
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=no"),
                       QStringLiteral("--use-pid-file=no"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"), QStringLiteral("-L"),
                       QStringLiteral("module-null-sink sink_name=tamapick_test"), QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        if (!server_.waitForStarted(5000)) return false;
        for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i) QTest::qWait(50);
        if (!QFileInfo::exists(socket)) {
            qWarning() << "pulseaudio did not start:" << server_.readAll();
            return false;
        }
        serverAddress_ = QStringLiteral("unix:") + socket;

        env.insert(QStringLiteral("PULSE_SERVER"), serverAddress_);
        recorder_.setProcessEnvironment(env);
        dieWithTest(recorder_);
        QObject::connect(&recorder_, &QProcess::readyReadStandardOutput, [this] { takeRecorded(); });
        recorder_.start(QStringLiteral("parec"),
                        {QStringLiteral("--device=tamapick_test.monitor"), QStringLiteral("--raw"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                         QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--latency-msec=10")});
        if (!recorder_.waitForStarted(5000)) return false;
        // The recording is running once its first samples arrive.
        for (int i = 0; i < 250 && samples_.empty(); ++i) QTest::qWait(20);
        if (samples_.empty()) {
            qWarning() << "parec recorded nothing:" << recorder_.readAllStandardError() << server_.readAll();
            return false;
        }
        return true;
    }

    ~PrivateSoundServer() {
        for (QProcess* process : {&recorder_, &server_}) {
            process->kill();
            process->waitForFinished(2000);
        }
    }

    // The server's private directory, removed with it.
    QString directory() const { return dir_.path(); }
    // What a client sets PULSE_SERVER to.
    QString address() const { return serverAddress_; }

    // Keeps the recording going (and the event loop turning) until `until`.
    void recordUntil(Clock::time_point until) {
        while (Clock::now() < until) QTest::qWait(10);
        takeRecorded();
    }

    // The first sample at or after `from` louder than silence, and when it sounded.
    std::optional<double> firstSoundAfter(double from) const {
        for (std::size_t i = indexAt(from); i < samples_.size(); ++i) {
            if (std::abs(samples_[i]) > kSilenceLimit) return timeOf(i);
        }
        return std::nullopt;
    }
    bool silentBetween(double from, double to) const { return firstSoundAfter(from).value_or(to) >= to; }
    // The loudest sample from `from` to `to`, in dB below full scale.
    double peakDbfsBetween(double from, double to) const {
        int peak = 0;
        const std::size_t end = std::min(indexAt(to), samples_.size());
        for (std::size_t i = indexAt(from); i < end; ++i) peak = std::max(peak, std::abs(int(samples_[i])));
        return 20.0 * std::log10(std::max(peak, 1) / 32768.0);
    }
    // How long the sound starting at `from` lasts, up to its last sample louder than silence.
    double soundLengthFrom(double from) const {
        double last = from;
        for (std::size_t i = indexAt(from); i < samples_.size(); ++i) {
            if (std::abs(samples_[i]) > kSilenceLimit) last = timeOf(i);
        }
        return last - from;
    }

private:
    static void dieWithTest(QProcess& process) {
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    }

    // Sample n sounded at origin_ + n / kRate. Each block arrives a little after its last sample
    // sounded, so the earliest arrival relative to the samples before it gives the origin with
    // the least delivery delay.
    void takeRecorded() {
        const QByteArray bytes = recorder_.readAllStandardOutput();
        pending_.append(bytes);
        const qsizetype whole = pending_.size() / 2 * 2;
        if (whole == 0) return;
        const auto* data = reinterpret_cast<const std::int16_t*>(pending_.constData());
        samples_.insert(samples_.end(), data, data + whole / 2);
        pending_.remove(0, whole);
        const double origin = secondsOf(Clock::now()) - double(samples_.size()) / kRate;
        origin_ = origin_ ? std::min(*origin_, origin) : origin;
    }
    std::size_t indexAt(double time) const {
        return std::size_t(std::max(0.0, std::ceil((time - origin_.value_or(0)) * kRate)));
    }
    double timeOf(std::size_t index) const { return origin_.value_or(0) + double(index) / kRate; }

    QTemporaryDir dir_;
    QProcess server_;
    QProcess recorder_;
    QString serverAddress_;
    QByteArray pending_;
    std::vector<std::int16_t> samples_;
    std::optional<double> origin_;
};

}  // namespace tamapick::testing
