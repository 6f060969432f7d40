#include "draws/tamapick_form.h"

#include "draws/primitives.h"

namespace tamapick {

void TamapickForm::Form_Load() {
    runtime_.setCaption(Label::Label8, "ほしだま");
    runtime_.setCaption(Label::Label7, "by pomuchi");
    runtime_.seedRandomFromClock();
}

void TamapickForm::miniroto_Click(std::int16_t /*index*/) {
    runClickHandler([](Runtime&) {});
}

void TamapickForm::roto6_Click() {
    runClickHandler([](Runtime&) {});
}

void TamapickForm::Numbers3_Click() {
    runClickHandler([](Runtime&) {});
}

void TamapickForm::Numbers4_Click() {
    runClickHandler([](Runtime&) {});
}

void TamapickForm::runClickHandler(const std::function<void(Runtime&)>& draw) {
    if (runtime_.closing()) {
        return;
    }
    if (depth_ >= kMaxNestedDraws) {
        ++dropped_;
        return;
    }
    ++depth_;
    deepest_ = depth_ > deepest_ ? depth_ : deepest_;
    try {
        draw(runtime_);
    } catch (const WindowClosed&) {
        // The window is gone: stop here; the outer draws stop at their own pauses.
    }
    --depth_;
}

}  // namespace tamapick
