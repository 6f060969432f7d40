#pragma once

#include <QPointer>
#include <array>

#include "runtime/desktop_beep.h"
#include "runtime/precise_sleep.h"
#include "runtime/random_source.h"
#include "runtime/runtime.h"

class QLabel;

namespace tamapick {

// Told when a draw begins and when it has run to its end; the window uses it to tell assistive
// technology about the draw.
class DrawObserver {
public:
    virtual ~DrawObserver() = default;
    virtual void drawStarted() = 0;
    virtual void drawEnded() = 0;
};

// The runtime services on Qt, for the real program.
class QtRuntime final : public Runtime {
public:
    QtRuntime();

    // The label widget that receives the captions of `label`.
    void attachLabel(Label label, QLabel* widget);
    // Called when the window closes: pauses end at once, draws unwind and nothing sounds.
    void markClosing();
    void observeDraws(DrawObserver* observer) { drawObserver_ = observer; }

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
    DrawObserver* drawObserver_ = nullptr;
    DesktopBeep beep_;
    bool closing_ = false;
    int beeps_ = 0;
};

}  // namespace tamapick
