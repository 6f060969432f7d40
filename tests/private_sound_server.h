// A sound server of the test's own, PulseAudio or PipeWire (with its PulseAudio replacement,
// what Debian desktops run), playing into a null sink whose monitor is recorded, so a test can
// hear what the program played and when. It can be made to hang (SIGSTOP), be killed and be
// started again on the same address. Every process dies with the test, also when it crashes.
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
#include <limits>
#include <list>
#include <optional>
#include <vector>

namespace tamapick::testing {

using Clock = std::chrono::steady_clock;

inline double secondsOf(Clock::time_point t) { return std::chrono::duration<double>(t.time_since_epoch()).count(); }

enum class SoundServerKind { PulseAudio, PipeWire };

// The kind named by TAMAPICK_SOUND_SERVER ("pipewire" or "pulseaudio", the default).
inline SoundServerKind soundServerKindFromEnvironment() {
    return qEnvironmentVariable("TAMAPICK_SOUND_SERVER") == QLatin1String("pipewire") ? SoundServerKind::PipeWire
                                                                                      : SoundServerKind::PulseAudio;
}

class PrivateSoundServer {
public:
    static constexpr int kRate = 16000;
    // Digital silence is exactly zero on a null sink; anything above -50 dBFS is a sound.
    static constexpr int kSilenceLimit = 100;
    // How far the recording's times may be off: the server renders ahead in blocks of about
    // the recorder's 10 ms latency (PipeWire: its 21 ms quantum), and a block reaches the test
    // a moment after the server rendered it.
    static constexpr double kClockUncertainty = 0.03;

    explicit PrivateSoundServer(SoundServerKind kind = SoundServerKind::PulseAudio) : kind_(kind) {}

    static QStringList toolsNeeded(SoundServerKind kind) {
        if (kind == SoundServerKind::PipeWire) {
            return {QStringLiteral("pipewire"),    QStringLiteral("wireplumber"), QStringLiteral("pipewire-pulse"),
                    QStringLiteral("dbus-daemon"), QStringLiteral("pactl"),       QStringLiteral("parec")};
        }
        return {QStringLiteral("pulseaudio"), QStringLiteral("parec")};
    }
    // The tools of `kind` that are not installed, by name; empty if it can run.
    static QStringList missingTools(SoundServerKind kind) {
        QStringList missing;
        for (const QString& tool : toolsNeeded(kind)) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) missing << tool;
        }
        return missing;
    }
    // Why a test of `kind` cannot run here, for QSKIP; empty if it can.
    static QString whyNotRunnable(SoundServerKind kind) {
        const QStringList missing = missingTools(kind);
        return missing.isEmpty() ? QString()
                                 : missing.join(", ") +
                                       " not installed (bash scripts/setup.sh --tests installs them where the "
                                       "machine has no sound server of its own)";
    }
    QString name() const { return kind_ == SoundServerKind::PipeWire ? "PipeWire" : "PulseAudio"; }

    // Starts the server and the recorder; false (with the server's output logged) if either fails.
    bool start() {
        if (!dir_.isValid()) return false;
        environment_ = QProcessEnvironment::systemEnvironment();
        // Everything the server keeps (cookie, state, runtime files) stays in the private directory.
        environment_.insert(QStringLiteral("HOME"), dir_.path());
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
        environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        environment_.insert(QStringLiteral("XDG_STATE_HOME"), dir_.filePath(QStringLiteral("state")));
        environment_.insert(QStringLiteral("PULSE_STATE_PATH"), dir_.filePath(QStringLiteral("state")));
        environment_.remove(QStringLiteral("PULSE_SERVER"));
        if (kind_ == SoundServerKind::PipeWire) {
            // PipeWire and its session manager talk over D-Bus: a private session bus of the test's own.
            environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                QStringLiteral("unix:path=") + dir_.filePath(QStringLiteral("bus")));
            QProcess& bus =
                launch(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                        QStringLiteral("--address=unix:path=") + dir_.filePath(QStringLiteral("bus"))});
            if (!waitForFile(dir_.filePath(QStringLiteral("bus")), bus)) return false;
            socket_ = dir_.filePath(QStringLiteral("pulse/native"));
        } else {
            environment_.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir_.filePath(QStringLiteral("runtime")));
            socket_ = dir_.filePath(QStringLiteral("native"));
        }
        serverAddress_ = QStringLiteral("unix:") + socket_;
        return startServer() && startRecorder();
    }

    ~PrivateSoundServer() {
        resume();
        if (recorder_) stopProcess(*recorder_);
        for (QProcess* process : serverProcesses_) stopProcess(*process);
        for (QProcess& process : processes_) stopProcess(process);
    }

    // The server's private directory, removed with it.
    QString directory() const { return dir_.path(); }
    // What a client sets PULSE_SERVER to.
    QString address() const { return serverAddress_; }

    // The server hangs: its processes stop (SIGSTOP) with their sockets open, as a server stuck
    // in a deadlock or paused in a debugger.
    void hang() {
        for (QProcess* process : serverProcesses_) ::kill(pid_t(process->processId()), SIGSTOP);
        hung_ = true;
    }
    void resume() {
        if (!hung_) return;
        for (QProcess* process : serverProcesses_) ::kill(pid_t(process->processId()), SIGCONT);
        hung_ = false;
    }
    // The server dies at once, as in a crash, and its clients lose their connection. The
    // recorder goes with it.
    void kill() {
        resume();
        if (recorder_) stopProcess(*recorder_);
        for (QProcess* process : serverProcesses_) stopProcess(*process);
        serverProcesses_.clear();
        recorder_ = nullptr;
        QFile::remove(socket_);
        // A killed PipeWire leaves its sockets and their locks behind (pipewire-0, and on newer
        // versions pipewire-0-manager): the next start must not take them for its own daemon's,
        // or the session manager starts before there is a daemon to talk to.
        for (const QString& stale :
             QDir(dir_.path()).entryList({QStringLiteral("pipewire-0*")}, QDir::Files | QDir::System))
            QFile::remove(dir_.filePath(stale));
    }
    // The server ends as a user's session ends it (systemctl --user restart, as an upgrade does):
    // SIGTERM to each process, the clients of the daemon first, each waited for, so the server
    // takes down its own sockets. The recorder goes with it.
    void stop() {
        resume();
        if (recorder_) stopProcess(*recorder_);
        recorder_ = nullptr;
        for (auto process = serverProcesses_.rbegin(); process != serverProcesses_.rend(); ++process) {
            (*process)->terminate();
            if (!(*process)->waitForFinished(5000)) {
                qWarning() << (*process)->program() << "did not end within 5 s of SIGTERM";
                stopProcess(**process);
            }
        }
        serverProcesses_.clear();
    }
    enum class Restart { AsTheSessionDoes, AfterACrash };
    // A new server on the same address, with a new recording.
    bool restart(Restart how = Restart::AsTheSessionDoes) {
        if (how == Restart::AfterACrash) {
            kill();
        } else {
            stop();
        }
        samples_.clear();
        pending_.clear();
        arrivals_.clear();
        return startServer() && startRecorder();
    }

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
    QProcess& launch(const QString& program, const QStringList& arguments) {
        QProcess& process = processes_.emplace_back();
        process.setProcessEnvironment(environment_);
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        process.waitForStarted(5000);
        return process;
    }
    static void stopProcess(QProcess& process) {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(2000);
    }
    bool waitForFile(const QString& path, QProcess& process) {
        for (int i = 0; i < 200 && !QFileInfo::exists(path); ++i) QTest::qWait(25);
        if (QFileInfo::exists(path)) return true;
        qWarning() << process.program() << "did not start:" << process.readAll();
        return false;
    }
    // Runs a PulseAudio command against the server and waits for it; true if it succeeded.
    bool pactl(const QStringList& arguments, bool warnOnFailure = true) {
        QProcess& process = launch(QStringLiteral("pactl"), arguments);
        process.waitForFinished(10000);
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return true;
        if (warnOnFailure) qWarning() << "pactl" << arguments << "failed:" << process.readAll();
        return false;
    }
    // PipeWire makes a loaded sink's node a moment after load-module returns, and until then
    // refuses it as the default ("Not supported"), so that is tried again for up to two seconds.
    bool makeTestSinkTheDefault() {
        const QStringList arguments{QStringLiteral("set-default-sink"), QStringLiteral("tamapick_test")};
        for (int attempt = 0; attempt < 40; ++attempt) {
            if (pactl(arguments, false)) return true;
            QTest::qWait(50);
        }
        return pactl(arguments);
    }

    bool startServer() {
        environment_.remove(QStringLiteral("PULSE_SERVER"));
        if (kind_ == SoundServerKind::PipeWire) {
            // The daemon, its session manager (which links streams to the sink), and the
            // PulseAudio replacement that libcanberra talks to, in the order a desktop starts them.
            QProcess& daemon = launch(QStringLiteral("pipewire"), {});
            if (!waitForFile(dir_.filePath(QStringLiteral("pipewire-0")), daemon)) return false;
            serverProcesses_ = {&daemon, &launch(QStringLiteral("wireplumber"), {})};
            QProcess& pulse = launch(QStringLiteral("pipewire-pulse"), {});
            serverProcesses_.push_back(&pulse);
            if (!waitForFile(socket_, pulse)) return false;
            environment_.insert(QStringLiteral("PULSE_SERVER"), serverAddress_);
            // The null sink becomes the default, in place of the dummy output the session manager
            // sets up where there is no sound card.
            return pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                          QStringLiteral("sink_name=tamapick_test")}) &&
                   makeTestSinkTheDefault();
        }
        // -n: no default script, so no hardware, D-Bus or X11 modules. As root the server runs
        // per-user all the same (--system=no); it only warns about it.
        QProcess& server =
            launch(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=no"),
                    QStringLiteral("--use-pid-file=no"), QStringLiteral("--exit-idle-time=-1"),
                    QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"), QStringLiteral("-L"),
                    QStringLiteral("module-null-sink sink_name=tamapick_test"), QStringLiteral("-L"),
                    QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket_});
        serverProcesses_ = {&server};
        if (!waitForFile(socket_, server)) return false;
        environment_.insert(QStringLiteral("PULSE_SERVER"), serverAddress_);
        return true;
    }

    bool startRecorder() {
        QProcess& recorder = processes_.emplace_back();
        recorder_ = &recorder;
        recorder.setProcessEnvironment(environment_);
        recorder.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        QObject::connect(&recorder, &QProcess::readyReadStandardOutput, [this] { takeRecorded(); });
        recorder.start(QStringLiteral("parec"),
                       {QStringLiteral("--device=tamapick_test.monitor"), QStringLiteral("--raw"),
                        QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                        QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--latency-msec=10")});
        if (!recorder.waitForStarted(5000)) return false;
        // The recording is running once its first samples arrive.
        for (int i = 0; i < 250 && samples_.empty(); ++i) QTest::qWait(20);
        if (samples_.empty()) {
            qWarning() << "parec recorded nothing:" << recorder.readAllStandardError();
            return false;
        }
        return true;
    }

    // Each block of samples arrives after its last sample sounded, so an arrival dates every
    // sample before it: no later than the arrival, less the samples that came between. The
    // tightest such date of a sample comes from the blocks that arrive soon after it. Only
    // later blocks may date it: a server that falls behind under load skips samples, so that
    // counting on from an earlier block would put every later sound too early.
    void takeRecorded() {
        if (recorder_ == nullptr) return;
        const QByteArray bytes = recorder_->readAllStandardOutput();
        pending_.append(bytes);
        const qsizetype whole = pending_.size() / 2 * 2;
        if (whole == 0) return;
        const auto* data = reinterpret_cast<const std::int16_t*>(pending_.constData());
        samples_.insert(samples_.end(), data, data + whole / 2);
        pending_.remove(0, whole);
        arrivals_.push_back({samples_.size(), secondsOf(Clock::now())});
    }
    // When sample `index` sounded, at the latest.
    double timeOf(std::size_t index) const {
        // The first block that holds the sample, and those that arrive within a second after it.
        auto arrival = std::upper_bound(arrivals_.begin(), arrivals_.end(), index,
                                        [](std::size_t i, const Arrival& a) { return i < a.samplesSoFar; });
        if (arrival == arrivals_.end()) return std::numeric_limits<double>::infinity();
        const double horizon = arrival->at + 1.0;
        double latest = arrival->at;
        for (; arrival != arrivals_.end() && arrival->at <= horizon; ++arrival)
            latest = std::min(latest, arrival->at - double(arrival->samplesSoFar - 1 - index) / kRate);
        return latest;
    }
    // The first sample that sounded at or after `time`; the dates grow with the index.
    std::size_t indexAt(double time) const {
        std::size_t low = 0;
        std::size_t high = samples_.size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (timeOf(middle) < time) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    }

    struct Arrival {
        std::size_t samplesSoFar;  // the samples recorded, this block's included
        double at;                 // when the block reached the test
    };
    SoundServerKind kind_;
    QTemporaryDir dir_;
    QProcessEnvironment environment_;
    // Every process started, in a list so that they keep their addresses; the server's own are
    // named in serverProcesses_, the recorder in recorder_.
    std::list<QProcess> processes_;
    std::vector<QProcess*> serverProcesses_;
    QProcess* recorder_ = nullptr;
    QString socket_;
    QString serverAddress_;
    bool hung_ = false;
    QByteArray pending_;
    std::vector<std::int16_t> samples_;
    std::vector<Arrival> arrivals_;
};

}  // namespace tamapick::testing
