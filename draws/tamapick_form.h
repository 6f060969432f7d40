#pragma once

#include <cstdint>
#include <functional>

#include "runtime/runtime.h"

namespace tamapick {

// The code behind the window `tamapick`: its load handler and the click handlers of the four
// lottery buttons. The window only wires its events here.
//
// A click during a draw runs the clicked button's whole draw nested inside the pause that is
// waiting; nothing is disabled and there is no busy flag. Only the depth is bounded, so that a
// storm of clicks cannot exhaust the stack: each level costs about 2.5 KiB of draw and
// event-dispatch frames in an optimised build (bench_nesting_stack), several times that in a
// sanitizer build, and 32 levels stay far inside a 1 MiB main-thread stack. A click that
// arrives while 32 draws are already running is dropped, as if it had not been made.
class TamapickForm {
public:
    static constexpr int kMaxNestedDraws = 32;

    explicit TamapickForm(Runtime& runtime) : runtime_(runtime) {}

    void Form_Load();
    // `index` is the member of the miniroto control array that was clicked; always 0, unused.
    void miniroto_Click(std::int16_t index);
    void roto6_Click();
    void Numbers3_Click();
    void Numbers4_Click();

    int drawsRunning() const { return depth_; }
    int deepestNesting() const { return deepest_; }
    int droppedClicks() const { return dropped_; }

private:
    // Runs one click handler: refused once the window is closing or the nesting is at its
    // bound; a close inside the draw ends it here.
    void runClickHandler(const std::function<void(Runtime&)>& draw);

    Runtime& runtime_;
    int depth_ = 0;
    int deepest_ = 0;
    int dropped_ = 0;
};

}  // namespace tamapick
