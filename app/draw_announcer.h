#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "runtime/runtime.h"

class QWidget;

namespace tamapick {

class WindowControls;

// What assistive technology learns of the draws. A screen reader ignores a label that changes
// its text, and the reels change six labels a hundred times a second, so the number labels keep
// a fixed name and stay quiet while they spin. When a draw has run to its end they report the
// numbers it left, and the result is announced once, as the window then reads: the draw's own
// headline, the numbers from left to right and the closing remark. A draw cut short by the close
// announces nothing. While any draw runs the window is busy. The labels are the window's own,
// by their handles.
class DrawAnnouncer {
public:
    DrawAnnouncer(QWidget& window, const WindowControls& controls);

    // Gives each number label its fixed name, once the window has made its labels.
    void nameNumberLabels();

    // Told by the window when a draw begins and when it has run to its end.
    void drawStarted();
    void drawEnded();

    // While any draw runs the window reports itself busy.
    bool busy() const { return !headlines_.empty(); }
    // The position (1 to 6) of a number label, or 0 for any other widget.
    int numberPositionOf(const QWidget* widget) const;
    // The number the last finished draw left in the number label at `position` ("" for none):
    // what the label reports to assistive technology, rather than each flicker of its reel.
    QString settledNumber(int position) const;
    // The hidden notification that carries the announcements before Qt 6.8; nullptr after.
    const QWidget* announcementBox() const;

private:
    QString textOf(Label label) const;
    QString result(const QString& headline) const;
    void settleNumbers();
    void reportBusyChange();
    void announce(const QString& text);

    QWidget& window_;
    const WindowControls& controls_;
    std::array<QString, kNumberLabelCount + 1> settledNumbers_{};  // by position, from 1
    // One entry per running draw, innermost last: its headline, once a draw nested in it may
    // have put its own into the headline label.
    std::vector<std::optional<QString>> headlines_;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    QWidget* announcementBox_ = nullptr;  // owned by the window
#endif
};

}  // namespace tamapick
