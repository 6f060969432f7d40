#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tamapick {

// The alert sound that ends a draw. On Linux it is the sound theme's window-system bell, played
// through the desktop's sound server (PulseAudio or PipeWire) by libcanberra, because the X11
// bell is silent on many desktops and a Wayland session has none. Where that cannot play, and
// on the other platforms, it is the toolkit's own beep.
//
// Every call comes from the user-interface thread and returns at once: connecting to the sound
// server and starting a sound both wait on the server, so they happen on a thread of their own.
class DesktopBeep {
public:
    // `applicationName` and `applicationId` name the program to the sound server (its volume
    // controls show them). `toolkitBeep` sounds the fallback; it runs on the calling thread only.
    DesktopBeep(std::string applicationName, std::string applicationId, std::function<void()> toolkitBeep);
    ~DesktopBeep();
    DesktopBeep(const DesktopBeep&) = delete;
    DesktopBeep& operator=(const DesktopBeep&) = delete;

    // Connects to the sound server in the background. A fresh connection takes about a second
    // to sound its first beep, so this is called well before the first draw can end.
    void prepare();
    // Sounds the alert once.
    void play();
    // The window has closed: nothing sounds any more, a beep still waiting is dropped and one
    // that is playing is cut off.
    void silence();

private:
    // Each platform's file defines it: the sound-server player or the toolkit beep alone.
    class Player;
    std::unique_ptr<Player> player_;
};

}  // namespace tamapick
