// Where no sound-server library was found at build time (and on Windows and macOS, whose
// toolkit beep already plays the system's alert sound), the alert is the toolkit's beep.
#include "runtime/desktop_beep.h"

namespace tamapick {

class DesktopBeep::Player {
public:
    explicit Player(std::function<void()> toolkitBeep) : toolkitBeep_(std::move(toolkitBeep)) {}

    void play() {
        if (!silenced_) toolkitBeep_();
    }
    void silence() { silenced_ = true; }

private:
    std::function<void()> toolkitBeep_;
    bool silenced_ = false;
};

DesktopBeep::DesktopBeep(std::string /*applicationName*/, std::string /*applicationId*/,
                         std::function<void()> toolkitBeep)
    : player_(std::make_unique<Player>(std::move(toolkitBeep))) {}

DesktopBeep::~DesktopBeep() = default;

void DesktopBeep::prepare() {}

void DesktopBeep::play() { player_->play(); }

void DesktopBeep::silence() { player_->silence(); }

}  // namespace tamapick
