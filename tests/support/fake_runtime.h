#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "draws/tamapick_form.h"
#include "runtime/random_source.h"
#include "runtime/runtime.h"

namespace tamapick {

// A runtime on a simulated clock for the tests. Time advances only while a pause waits; events
// scripted for a simulated instant (clicks, the close) are dispatched inside whichever pause is
// waiting then, so nested draws replay exactly. It also stands in for the window as the form's
// draw observer (TamapickForm form(fake, &fake)), recording each draw's start and end.
class FakeRuntime final : public Runtime, public DrawObserver {
public:
    struct CaptionWrite {
        double time;
        Label label;
        std::string text;
    };
    struct Beep {
        double time;
        std::size_t writesBefore;  // how many caption writes came before it
    };
    // A draw's start or end as the core reported it, with the captions standing at that moment.
    struct DrawMark {
        double time;
        std::size_t writesBefore;
        int beepsBefore;
        PerLabel<std::string> captions;
    };

    FakeRuntime();

    // --- scripting ---
    // Values handed out by nextRandom before the seeded generator takes over.
    void scriptRandom(std::vector<float> values);
    // The generator behind nextRandom once the scripted values are used up.
    void seedGenerator(std::uint64_t seed);
    // Runs `handler` at simulated time `at`, inside the pause waiting then (or from runEvents).
    void scriptEvent(double at, std::function<void()> handler);
    // The window closes at simulated time `at`.
    void scriptClose(double at);
    // A waiting pause moves the clock on by at most `tick` per wait instead of straight to its
    // deadline, as a real clock read in a loop would: a pause that ends early then shows.
    void setClockTick(double tick) { tick_ = tick; }

    // Keep (the default) or stop keeping the log of caption writes and beeps; long storms turn it
    // off and count instead.
    void keepLog(bool keep) { keepLog_ = keep; }

    // The idle event loop: dispatches every scripted event in time order, then returns.
    void runEvents();

    // --- observations ---
    const std::vector<CaptionWrite>& writes() const { return writes_; }
    const std::string& caption(Label label) const;
    int beeps() const { return beepCount_; }
    const std::vector<Beep>& beepLog() const { return beeps_; }
    int randomDraws() const { return randomDraws_; }
    int seedings() const { return seedings_; }
    int pumps() const { return pumps_; }
    int writesAfterClose() const { return writesAfterClose_; }
    const std::vector<DrawMark>& drawStarts() const { return drawStarts_; }
    const std::vector<DrawMark>& drawEnds() const { return drawEnds_; }
    int beepsAfterClose() const { return beepsAfterClose_; }
    // Forgets the recorded writes and beeps (the captions stay), to keep long runs small.
    void clearLog() {
        writes_.clear();
        beeps_.clear();
        beepCount_ = 0;
        drawStarts_.clear();
        drawEnds_.clear();
    }

    // --- Runtime ---
    void setCaption(Label label, std::string_view utf8) override;
    void seedRandomFromClock() override;
    float nextRandom() override;
    double now() const override { return now_; }
    void processPendingEvents(double deadline) override;
    void soundBeep() override;
    bool closing() const override { return closing_; }

    // --- DrawObserver ---
    void drawStarted() override;
    void drawEnded() override;

private:
    bool dispatchNextDueBy(double limit);

    double now_ = 0.0;
    double tick_ = 0.0;
    bool closing_ = false;
    std::multimap<std::pair<double, std::uint64_t>, std::function<void()>> events_;
    std::uint64_t nextOrder_ = 0;
    std::deque<float> scriptedRandom_;
    RandomSource generator_;
    PerLabel<std::string> captions_;
    std::vector<CaptionWrite> writes_;
    std::vector<Beep> beeps_;
    std::vector<DrawMark> drawStarts_;
    std::vector<DrawMark> drawEnds_;
    bool keepLog_ = true;
    int beepCount_ = 0;
    int randomDraws_ = 0;
    int seedings_ = 0;
    int pumps_ = 0;
    int writesAfterClose_ = 0;
    int beepsAfterClose_ = 0;
};

}  // namespace tamapick
