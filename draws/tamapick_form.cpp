#include "draws/tamapick_form.h"

#include <algorithm>

#include "primitives/primitives.h"

namespace tamapick {

void TamapickForm::Form_Load() {
    runtime_.setCaption(Label::Label8, "ほしだま");
    runtime_.setCaption(Label::Label7, "by pomuchi");
    runtime_.seedRandomFromClock();
}

void TamapickForm::click(ClickHandler handler, std::int16_t index) {
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
    if (observer_ != nullptr) observer_->drawStarted();
    try {
        if (const auto* draw = std::get_if<void (*)(Runtime&)>(&handler)) {
            (*draw)(runtime_);
        } else {
            std::get<void (*)(Runtime&, std::int16_t)>(handler)(runtime_, index);
        }
    } catch (const WindowClosed&) {
        // The window is gone: this draw stops where it stood, and each draw it interrupted
        // stops at its own pause as the stack unwinds. None of them has a result to tell.
        return;
    }
    if (observer_ != nullptr) observer_->drawEnded();
}

}  // namespace tamapick
