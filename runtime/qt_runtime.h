#pragma once

#include <QPointer>
#include <array>

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
    // Called when the window closes: pauses end at once and draws unwind.
    void markClosing() { closing_ = true; }

    void setCaption(Label label, std::string_view utf8) override;
    void seedRandomFromClock() override;
    float nextRandom() override;
    double now() const override;
    void processPendingEvents(double deadline) override;
    void soundBeep() override;
    bool closing() const override { return closing_; }

    // How many beeps have sounded, for the tests: the platform's beep itself cannot be observed.
    int beepsSounded() const { return beeps_; }

private:
    std::array<QPointer<QLabel>, 9> labels_{};
    RandomSource random_;
    PreciseSleeper sleeper_;
    bool closing_ = false;
    int beeps_ = 0;
};

}  // namespace tamapick
