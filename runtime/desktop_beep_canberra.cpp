// The alert through libcanberra, on a worker thread: opening the context connects to the sound
// server, and a play waits until the server has set the sound up, a few to a hundred
// milliseconds that the draw must not wait for, and for ever should the server hang.
//
// The user-interface thread and the worker share one mailbox: a queue of requests, which the
// worker takes in order, and the worker's state, which it reports back. Nothing else crosses.
#include <canberra.h>

#include <QMetaObject>
#include <QObject>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "runtime/desktop_beep.h"

namespace tamapick {

namespace {

// Every alert shares one id, so cancelling it silences whichever is playing.
constexpr std::uint32_t kAlertSoundId = 1;

// How long the program's exit waits for the worker to let go of the sound server. Letting go
// takes a few milliseconds; a worker that has not finished by then is waiting on a server that
// hangs, and is left behind (see ~Player) so that closing still ends the program at once.
constexpr auto kWorkerExitWait = std::chrono::milliseconds(100);

// What the user-interface thread asks of the worker.
enum class Request {
    Connect,  // a draw has started: connect, or connect again once if the server has gone
    Play,     // a draw's closing beep
    Cancel,   // the window has closed: cut off the beep that is playing
    Quit,     // the owner is gone: let go of the server and end
};

// What the worker is doing, as far as the user-interface thread needs to know.
enum class WorkerState {
    Connecting,  // starting, or opening a connection to the sound server
    Connected,   // the server answered when last asked
    NoServer,    // no server answered: beeps go to the toolkit at once, until the next draw tries again
    Finished,    // it has let go of the server and ended
};

// The toolkit's beep, for alerts the sound server cannot play. It lives on the user-interface
// thread; the worker only names it as the target of a queued call, never calls into it.
class ToolkitBeep : public QObject {
public:
    explicit ToolkitBeep(std::function<void()> beep) : beep_(std::move(beep)) {}
    void sound() {
        if (!silenced_) beep_();
    }
    void silence() { silenced_ = true; }

private:
    std::function<void()> beep_;
    bool silenced_ = false;
};

// One connection to the sound server, owned by the worker alone.
class SoundServerConnection {
public:
    SoundServerConnection(std::string applicationName, std::string applicationId)
        : applicationName_(std::move(applicationName)), applicationId_(std::move(applicationId)) {}
    ~SoundServerConnection() { close(); }
    SoundServerConnection(const SoundServerConnection&) = delete;
    SoundServerConnection& operator=(const SoundServerConnection&) = delete;

    // Opens the connection where there is none, or opens a fresh one where the server has gone
    // (restarted, or the audio session logged out): libcanberra's own reconnection waits for the
    // server to announce itself on D-Bus, which a restarted server need not do. True if connected.
    bool connect() {
        if (context_ != nullptr && stillConnected()) return true;
        close();
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, applicationName_.c_str(), nullptr);
        if (!applicationId_.empty()) {
            // The id is also the name of the program's themed icon.
            ca_context_change_props(context_, CA_PROP_APPLICATION_ID, applicationId_.c_str(),
                                    CA_PROP_APPLICATION_ICON_NAME, applicationId_.c_str(), nullptr);
        }
        if (ca_context_open(context_) != CA_SUCCESS) close();
        return context_ != nullptr;
    }

    // The theme's window-system bell. The theme lookup falls back along the event name by
    // itself (bell-window-system, bell-window, bell), so a theme with only a plain bell plays it.
    // "volatile" lets the server keep the decoded sound for the next draw, and drop it should
    // the sound theme change.
    bool play() {
        if (context_ == nullptr) return false;
        return ca_context_play(context_, kAlertSoundId, CA_PROP_EVENT_ID, "bell-window-system",
                               CA_PROP_CANBERRA_CACHE_CONTROL, "volatile", nullptr) == CA_SUCCESS;
    }

    void cancel() {
        if (context_ != nullptr) ca_context_cancel(context_, kAlertSoundId);
    }

private:
    // Updating a property needs the connection up: it fails at once where the server has gone,
    // and sends without waiting for an answer where it hangs.
    bool stillConnected() {
        return ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, applicationName_.c_str(), nullptr) ==
               CA_SUCCESS;
    }

    // Disconnecting ends whatever this connection still plays.
    void close() {
        if (context_ != nullptr) ca_context_destroy(context_);
        context_ = nullptr;
    }

    std::string applicationName_;
    std::string applicationId_;
    ca_context* context_ = nullptr;
};

// All the two threads share, behind its mutex.
struct Mailbox {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Request> requests;
    WorkerState state = WorkerState::Connecting;
    // Where the worker posts the beeps the server could not play; the owner clears it before it
    // goes, so a worker left behind never reaches the user-interface thread again.
    ToolkitBeep* fallback = nullptr;
    const std::string applicationName;
    const std::string applicationId;

    Mailbox(std::string name, std::string id) : applicationName(std::move(name)), applicationId(std::move(id)) {}
};

// The worker's whole life. It holds the mailbox by a shared pointer and owns its connection,
// so it touches nothing that its owner frees, also when it outlives the owner.
void runWorker(const std::shared_ptr<Mailbox>& mailbox) {
    {
        SoundServerConnection server(mailbox->applicationName, mailbox->applicationId);
        std::unique_lock lock(mailbox->mutex);
        for (;;) {
            mailbox->changed.wait(lock, [&] { return !mailbox->requests.empty(); });
            const Request request = mailbox->requests.front();
            mailbox->requests.pop_front();
            if (request == Request::Quit) break;
            // The server is only ever waited on with the mailbox open to the owner.
            lock.unlock();
            bool failedBeep = false;
            std::optional<WorkerState> newState;
            switch (request) {
                case Request::Connect:
                    newState = server.connect() ? WorkerState::Connected : WorkerState::NoServer;
                    break;
                case Request::Play:
                    failedBeep = !server.play();
                    break;
                case Request::Cancel:
                    server.cancel();
                    break;
                case Request::Quit:
                    break;
            }
            lock.lock();
            if (newState) mailbox->state = *newState;
            if (failedBeep && mailbox->fallback != nullptr) {
                ToolkitBeep* fallback = mailbox->fallback;
                QMetaObject::invokeMethod(
                    fallback, [fallback] { fallback->sound(); }, Qt::QueuedConnection);
            }
            mailbox->changed.notify_all();
        }
        // The connection closes here, outside the lock: closing waits for libcanberra's own thread.
        lock.unlock();
    }
    std::lock_guard lock(mailbox->mutex);
    mailbox->state = WorkerState::Finished;
    mailbox->changed.notify_all();
}

}  // namespace

class DesktopBeep::Player {
public:
    Player(std::string applicationName, std::string applicationId, std::function<void()> toolkitBeep)
        : mailbox_(std::make_shared<Mailbox>(std::move(applicationName), std::move(applicationId))),
          toolkitBeep_(std::move(toolkitBeep)) {
        mailbox_->fallback = &toolkitBeep_;
    }

    // The owner of the worker. It ends the worker and joins it; a worker still waiting on a
    // server that hangs is left behind, detached: it holds everything it can reach (the mailbox
    // and its connection), posts nothing once the fallback is cleared, and ends by itself should
    // the server answer. A process that exits meanwhile ends it mid-wait; libcanberra and
    // libpulse free nothing at exit that such a wait touches.
    ~Player() {
        if (!worker_.joinable()) return;
        std::unique_lock lock(mailbox_->mutex);
        mailbox_->fallback = nullptr;
        // Beeps and connections still waiting are dropped; a cancel still waiting is kept, for
        // a beep that the server plays from its own cache outlives the connection.
        std::erase_if(mailbox_->requests, [](Request r) { return r != Request::Cancel; });
        mailbox_->requests.push_back(Request::Quit);
        mailbox_->changed.notify_all();
        const bool finished = mailbox_->changed.wait_for(lock, kWorkerExitWait,
                                                         [this] { return mailbox_->state == WorkerState::Finished; });
        lock.unlock();
        if (finished) {
            worker_.join();
        } else {
            worker_.detach();
        }
    }

    void prepare() {
        std::lock_guard lock(mailbox_->mutex);
        if (silenced_) return;
        // One attempt per draw at most: a draw started while an attempt still waits adds none.
        if (std::find(mailbox_->requests.begin(), mailbox_->requests.end(), Request::Connect) ==
            mailbox_->requests.end()) {
            post(Request::Connect);
        }
    }

    void play() {
        std::unique_lock lock(mailbox_->mutex);
        if (silenced_) return;
        if (mailbox_->state == WorkerState::NoServer) {
            lock.unlock();
            toolkitBeep_.sound();
            return;
        }
        post(Request::Play);
    }

    void silence() {
        std::lock_guard lock(mailbox_->mutex);
        silenced_ = true;
        toolkitBeep_.silence();
        std::erase(mailbox_->requests, Request::Play);
        if (worker_.joinable()) post(Request::Cancel);
    }

private:
    // With the mailbox locked. The worker starts with the first request.
    void post(Request request) {
        mailbox_->requests.push_back(request);
        mailbox_->changed.notify_all();
        if (!worker_.joinable()) worker_ = std::thread(runWorker, mailbox_);
    }

    std::shared_ptr<Mailbox> mailbox_;
    // Lives on the user-interface thread, as the target of the worker's queued calls.
    ToolkitBeep toolkitBeep_;
    bool silenced_ = false;
    std::thread worker_;
};

DesktopBeep::DesktopBeep(std::string applicationName, std::string applicationId, std::function<void()> toolkitBeep)
    : player_(std::make_unique<Player>(std::move(applicationName), std::move(applicationId), std::move(toolkitBeep))) {}

DesktopBeep::~DesktopBeep() = default;

void DesktopBeep::prepare() { player_->prepare(); }

void DesktopBeep::play() { player_->play(); }

void DesktopBeep::silence() { player_->silence(); }

}  // namespace tamapick
