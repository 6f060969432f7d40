#include "draws/tamapick_form.h"

#include <algorithm>

#include "draws/draws.h"
#include "draws/primitives.h"

namespace tamapick {

void TamapickForm::Form_Load() {
    runtime_.setCaption(Label::Label8, "ほしだま");
    runtime_.setCaption(Label::Label7, "by pomuchi");
    runtime_.seedRandomFromClock();
}

void TamapickForm::miniroto_Click(std::int16_t index) {
    runClickHandler([index](Runtime& runtime) { draws::miniroto_Click(runtime, index); });
}

void TamapickForm::roto6_Click() { runClickHandler(draws::roto6_Click); }

void TamapickForm::Numbers3_Click() { runClickHandler(draws::Numbers3_Click); }

void TamapickForm::Numbers4_Click() { runClickHandler(draws::Numbers4_Click); }

void TamapickForm::runClickHandler(const std::function<void(Runtime&)>& draw) {
    if (runtime_.closing()) {
        return;
    }
    if (depth_ >= kMaxNestedDraws) {
        ++dropped_;
        return;
    }
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(++d) {}
        ~DepthGuard() { --depth; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
    } guard(depth_);
    deepest_ = std::max(deepest_, depth_);
    runtime_.drawStarted();
    try {
        draw(runtime_);
    } catch (const WindowClosed&) {
        // The window is gone: this draw stops where it stood, and each draw it interrupted
        // stops at its own pause as the stack unwinds. None of them has a result to tell.
        return;
    }
    runtime_.drawEnded();
}

}  // namespace tamapick
