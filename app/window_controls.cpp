#include "app/window_controls.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "app/window_design.h"

namespace tamapick {

void WindowControls::addButton(QPushButton& button, const ControlDesign& design) {
    const auto after = std::upper_bound(tabOrder_.begin(), tabOrder_.end(), design.tabIndex,
                                        [](int tabIndex, const TabStop& stop) { return tabIndex < stop.tabIndex; });
    tabOrder_.insert(after, {design.tabIndex, &button});
    place(button, design);
}

void WindowControls::addLabel(QLabel& label, const ControlDesign& design) {
    if (design.wiring.label) {
        labels_[*design.wiring.label] = &label;
    } else if (design.style == LabelStyle::Credit) {
        creditLine_ = &label;
    }
    styledLabels_.push_back({&label, design.style});
    place(label, design);
}

std::vector<QPushButton*> WindowControls::buttons() const {
    std::vector<QPushButton*> buttons;
    for (const TabStop& stop : tabOrder_) buttons.push_back(stop.button);
    return buttons;
}

std::vector<QWidget*> WindowControls::inReadingOrder() const {
    std::vector<QWidget*> controls;
    for (const Placed& placed : readingOrder_) controls.push_back(placed.control);
    return controls;
}

void WindowControls::place(QWidget& control, const ControlDesign& design) {
    const auto key = std::pair(design.top, design.left);
    const auto after = std::upper_bound(readingOrder_.begin(), readingOrder_.end(), key,
                                        [](auto k, const Placed& p) { return k < std::pair(p.top, p.left); });
    readingOrder_.insert(after, {design.top, design.left, &control});
}

}  // namespace tamapick
