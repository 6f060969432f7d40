#pragma once

#include <QRect>
#include <cstdint>
#include <optional>
#include <span>

#include "app/label_styles.h"
#include "draws/tamapick_form.h"
#include "runtime/runtime.h"

namespace tamapick {

enum class ControlKind { PushButton, Label, Picture };

inline constexpr int kNoTabIndex = -1;
inline constexpr int kNotInArray = -1;
// The design is laid out in twips; 15 twips make one pixel at 96 dots per inch, the scale the
// pictures are drawn for.
inline constexpr int kTwipsPerPixel = 15;

// What a control is wired to: the runtime label whose captions it shows, or the click handler
// (one of the draws) that the form runs on its click. Pictures, the credit line and the like are
// wired to nothing.
struct ControlWiring {
    std::optional<Label> label;
    std::optional<ClickHandler> click;
};

struct ControlDesign {
    const char* name;
    int index;  // member of a control array, or kNotInArray
    ControlKind kind;
    int left, top, width, height;  // twips
    int tabIndex;
    LabelStyle style;
    // A button's caption, a label's design-time caption, or a picture's resource path.
    const char* content;
    ControlWiring wiring;

    QRect pixelGeometry() const {
        return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
    }
    // The Qt object name: the design name, with the member index for control arrays.
    QString objectName() const;
};

// The window `tamapick`: its client area and title.
inline constexpr int kClientWidthTwips = 6315;
inline constexpr int kClientHeightTwips = 4185;
inline constexpr const char* kWindowTitle = "ほしだま★";
inline constexpr const char* kBackgroundPicture = ":/pictures/background.svg";
inline constexpr const char* kWindowIcon = ":/pictures/icon.svg";

// Every control of the window, front to back: each row is drawn over the rows below it.
std::span<const ControlDesign> windowControls();

}  // namespace tamapick
