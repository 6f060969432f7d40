#pragma once

#include <cstdint>
#include <variant>

#include "runtime/runtime.h"

namespace tamapick {

// Told when a click handler's draw begins, before its first caption, and when it has run to its
// end, after its closing remark. Nested draws tell both of their own; a draw cut short by the
// close never ends. The window owns one: it tells assistive technology the result at the end,
// once, rather than every flicker of the reels on the way.
class DrawObserver {
public:
    virtual void drawStarted() = 0;
    virtual void drawEnded() = 0;

protected:
    ~DrawObserver() = default;
};

// A button's click handler: one of the four draws (draws/draws.h). miniroto, a control array, is
// given the index of the member clicked; the other buttons' handlers take nothing.
using ClickHandler = std::variant<void (*)(Runtime& runtime), void (*)(Runtime& runtime, std::int16_t index)>;

// The code behind the window `tamapick`: its load handler, and the one place every click runs
// its button's handler. The window only wires its events here.
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

    // `observer` hears of every draw's start and end; a form without one tells nobody.
    explicit TamapickForm(Runtime& runtime, DrawObserver* observer = nullptr)
        : runtime_(runtime), observer_(observer) {}

    void Form_Load();
    // Runs a button's click handler: refused once the window is closing or the nesting is at its
    // bound; a close inside the draw ends it here. `index` is the member of the miniroto control
    // array that was clicked, always 0; the other handlers ignore it.
    void click(ClickHandler handler, std::int16_t index = 0);

    int drawsRunning() const { return depth_; }
    int deepestNesting() const { return deepest_; }
    int droppedClicks() const { return dropped_; }

private:
    Runtime& runtime_;
    DrawObserver* observer_;
    int depth_ = 0;
    int deepest_ = 0;
    int dropped_ = 0;
};

}  // namespace tamapick
