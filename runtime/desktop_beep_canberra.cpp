// The alert through libcanberra, on a worker thread: opening the context connects to the sound
// server, and a play waits until the server has set the sound up, a few to a hundred
// milliseconds that the draw must not wait for.
#include <canberra.h>

#include <QMetaObject>
#include <QObject>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "runtime/desktop_beep.h"

namespace tamapick {

namespace {

// Every alert shares one id, so cancelling it silences whichever is playing.
constexpr std::uint32_t kAlertSoundId = 1;

// How long the program's exit waits for the worker to let go of the sound server; a server
// that hangs must not keep the process from ending.
constexpr auto kWorkerExitWait = std::chrono::seconds(2);

ca_context* openSoundServer(const std::string& applicationName, const std::string& applicationId) {
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) return nullptr;
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, applicationName.c_str(), nullptr);
    if (!applicationId.empty()) {
        // The id is also the name of the program's themed icon.
        ca_context_change_props(context, CA_PROP_APPLICATION_ID, applicationId.c_str(), CA_PROP_APPLICATION_ICON_NAME,
                                applicationId.c_str(), nullptr);
    }
    if (ca_context_open(context) != CA_SUCCESS) {
        ca_context_destroy(context);
        return nullptr;
    }
    return context;
}

int playEvent(ca_context* context, const char* eventId) {
    // "volatile" lets the server keep the decoded sound for the next draw, and drop it should
    // the sound theme change.
    return ca_context_play(context, kAlertSoundId, CA_PROP_EVENT_ID, eventId, CA_PROP_CANBERRA_CACHE_CONTROL,
                           "volatile", nullptr);
}

// The window-system bell where the user's theme has one, else the theme's plain bell.
bool playAlert(ca_context* context) {
    int result = playEvent(context, "bell-window-system");
    if (result == CA_ERROR_NOTFOUND) result = playEvent(context, "bell");
    return result == CA_SUCCESS;
}

}  // namespace

class DesktopBeep::Player {
public:
    Player(std::string applicationName, std::string applicationId, std::function<void()> toolkitBeep)
        : shared_(std::make_shared<Shared>()), toolkitBeep_(std::move(toolkitBeep)) {
        shared_->applicationName = std::move(applicationName);
        shared_->applicationId = std::move(applicationId);
    }

    ~Player() {
        if (!worker_.joinable()) return;
        std::unique_lock lock(shared_->mutex);
        shared_->stopping = true;
        shared_->wake.notify_all();
        if (shared_->finished.wait_for(lock, kWorkerExitWait, [this] { return shared_->done; })) {
            lock.unlock();
            worker_.join();
        } else {
            // It keeps the shared state alive by itself and no longer reaches this thread.
            shared_->orphaned = true;
            lock.unlock();
            worker_.detach();
        }
    }

    void prepare() {
        std::lock_guard lock(shared_->mutex);
        startWorkerLocked();
    }

    void play() {
        std::unique_lock lock(shared_->mutex);
        if (shared_->silenced) return;
        if (shared_->server == Server::Unavailable) {
            lock.unlock();
            toolkitBeep_();
            return;
        }
        ++shared_->waitingBeeps;
        startWorkerLocked();
        shared_->wake.notify_all();
    }

    void silence() {
        std::lock_guard lock(shared_->mutex);
        shared_->silenced = true;
        shared_->waitingBeeps = 0;
        shared_->cancelPlaying = true;
        shared_->wake.notify_all();
    }

private:
    enum class Server { Connecting, Open, Unavailable };

    // What the two threads share, behind the mutex.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finished;
        std::string applicationName;
        std::string applicationId;
        Server server = Server::Connecting;
        int waitingBeeps = 0;
        bool silenced = false;
        bool cancelPlaying = false;
        bool stopping = false;
        bool done = false;
        bool orphaned = false;
    };

    void startWorkerLocked() {
        if (worker_.joinable()) return;
        worker_ = std::thread([shared = shared_, this] { runWorker(shared, this); });
    }

    // Runs on the worker thread. `player` is only reached through the user-interface thread's
    // queue, and only while it is not orphaned.
    static void runWorker(const std::shared_ptr<Shared>& shared, Player* player) {
        ca_context* context = openSoundServer(shared->applicationName, shared->applicationId);
        std::unique_lock lock(shared->mutex);
        shared->server = context != nullptr ? Server::Open : Server::Unavailable;
        for (;;) {
            shared->wake.wait(lock,
                              [&] { return shared->stopping || shared->cancelPlaying || shared->waitingBeeps > 0; });
            if (shared->cancelPlaying) {
                shared->cancelPlaying = false;
                if (context != nullptr) {
                    lock.unlock();
                    ca_context_cancel(context, kAlertSoundId);
                    lock.lock();
                }
            }
            if (shared->stopping) break;
            if (shared->waitingBeeps == 0) continue;
            --shared->waitingBeeps;
            bool played = false;
            if (context != nullptr) {
                lock.unlock();
                played = playAlert(context);
                lock.lock();
            }
            if (!played && !shared->orphaned) {
                QMetaObject::invokeMethod(
                    &player->userInterfaceThread_, [player] { player->playInToolkit(); }, Qt::QueuedConnection);
            }
        }
        lock.unlock();
        if (context != nullptr) ca_context_destroy(context);
        lock.lock();
        shared->done = true;
        shared->finished.notify_all();
    }

    // On the user-interface thread, for a beep the sound server could not play.
    void playInToolkit() {
        std::unique_lock lock(shared_->mutex);
        if (shared_->silenced) return;
        lock.unlock();
        toolkitBeep_();
    }

    std::shared_ptr<Shared> shared_;
    std::function<void()> toolkitBeep_;
    // Lives on the user-interface thread; the worker posts the toolkit beeps to it.
    QObject userInterfaceThread_;
    std::thread worker_;
};

DesktopBeep::DesktopBeep(std::string applicationName, std::string applicationId, std::function<void()> toolkitBeep)
    : player_(std::make_unique<Player>(std::move(applicationName), std::move(applicationId), std::move(toolkitBeep))) {}

DesktopBeep::~DesktopBeep() = default;

void DesktopBeep::prepare() { player_->prepare(); }

void DesktopBeep::play() { player_->play(); }

void DesktopBeep::silence() { player_->silence(); }

}  // namespace tamapick
