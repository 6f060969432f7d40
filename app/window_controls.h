#pragma once

#include <vector>

#include "app/label_styles.h"
#include "runtime/runtime.h"

class QLabel;
class QPushButton;
class QWidget;

namespace tamapick {

struct ControlDesign;

// The buttons and labels the window made from its design table, kept as it makes them. What
// works on them afterwards (fitting the captions, following the desktop, reading the window to a
// screen reader) is handed these rather than looking the controls up again. The window owns the
// controls; the handles last as long as the window. Pictures are not kept: nothing touches them
// once they are made.
class WindowControls {
public:
    struct StyledLabel {
        QLabel* label;
        LabelStyle style;
    };

    // Called by the window for each control, as soon as it has made it from `design`.
    void addButton(QPushButton& button, const ControlDesign& design);
    void addLabel(QLabel& label, const ControlDesign& design);

    // The buttons in tab order: miniroto first.
    std::vector<QPushButton*> buttons() const;
    // The label that shows the captions the runtime writes to `label`; nullptr until made.
    QLabel* label(Label label) const { return labels_[label]; }
    // Label9, written by nobody; nullptr until made.
    QLabel* creditLine() const { return creditLine_; }
    // Every label, with the style it was made in.
    const std::vector<StyledLabel>& styledLabels() const { return styledLabels_; }
    // The buttons and labels as the window reads: top to bottom, and left to right along a row.
    std::vector<QWidget*> inReadingOrder() const;

private:
    struct TabStop {
        int tabIndex;
        QPushButton* button;
    };
    struct Placed {
        int top, left;  // twips
        QWidget* control;
    };
    void place(QWidget& control, const ControlDesign& design);

    std::vector<TabStop> tabOrder_;  // by tab index
    PerLabel<QLabel*> labels_;
    QLabel* creditLine_ = nullptr;
    std::vector<StyledLabel> styledLabels_;
    std::vector<Placed> readingOrder_;  // by top, then left
};

}  // namespace tamapick
