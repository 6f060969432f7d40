#pragma once

#include <QPointer>

#include "runtime/desktop_beep.h"
#include "runtime/precise_sleep.h"
#include "runtime/random_source.h"
#include "runtime/runtime.h"

class QLabel;

namespace tamapick {

// The runtime services on Qt, for the real program.
class QtRuntime final : public Runtime {
public:
    QtRuntime();

    // The label widget that receives the captions of `label`: the window registers each once.
    void attachLabel(Label label, QLabel* widget);
    // Connects to the sound server in the background, for the beep at the end of a draw: the
    // window calls it as each draw starts. The shortest draw runs 2.46 s before its beep, time
    // enough for a fresh connection (about a second), and a window opened and closed without a
    // draw never loads the sound server's libraries.
    void prepareBeep() { beep_.prepare(); }
    // Called when the window closes: pauses end at once, draws unwind and nothing sounds.
    void markClosing();

    void setCaption(Label label, std::string_view utf8) override;
    void seedRandomFromClock() override;
    float nextRandom() override;
    double now() const override;
    void processPendingEvents(double deadline) override;
    void soundBeep() override;
    bool closing() const override { return closing_; }

    // How many beeps the draws have asked for.
    int beepsSounded() const { return beeps_; }

private:
    PerLabel<QPointer<QLabel>> labels_;
    RandomSource random_;
    PreciseSleeper sleeper_;
    DesktopBeep beep_;
    bool closing_ = false;
    int beeps_ = 0;
};

}  // namespace tamapick
