#pragma once

#include <QPointer>
#include <array>
#include <functional>
#include <utility>

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

    // The label widget that receives the captions of `label`.
    void attachLabel(Label label, QLabel* widget);
    // Called when the window closes: pauses end at once, draws unwind and nothing sounds.
    void markClosing();
    // Passes on each drawStarted and drawEnded of the draws; the window tells assistive
    // technology about the draw from them.
    void observeDraws(std::function<void()> started, std::function<void()> ended) {
        drawStartedListener_ = std::move(started);
        drawEndedListener_ = std::move(ended);
    }

    void setCaption(Label label, std::string_view utf8) override;
    void seedRandomFromClock() override;
    float nextRandom() override;
    double now() const override;
    void processPendingEvents(double deadline) override;
    void soundBeep() override;
    void drawStarted() override;
    void drawEnded() override;
    bool closing() const override { return closing_; }

    // How many beeps the draws have asked for.
    int beepsSounded() const { return beeps_; }

private:
    std::array<QPointer<QLabel>, 9> labels_{};
    RandomSource random_;
    PreciseSleeper sleeper_;
    std::function<void()> drawStartedListener_;
    std::function<void()> drawEndedListener_;
    DesktopBeep beep_;
    bool closing_ = false;
    int beeps_ = 0;
};

}  // namespace tamapick
