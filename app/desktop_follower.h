#pragma once

class QWidget;

namespace tamapick {

// Keeps the window in step with the desktop it runs on: the buttons and the credit line in the
// desktop's user-interface font, at a size their captions fit (chosen here, before the first
// paint), and the labels on the artwork in legible colours; both chosen again whenever the
// desktop's font, style, palette, colour scheme or screen changes while the program runs.
// The window owns what this sets up.
void followTheDesktop(QWidget& window);

}  // namespace tamapick
