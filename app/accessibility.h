#pragma once

namespace tamapick {

// Installs the accessible interfaces of the window, its number labels and its announcement box
// (once per process; the QApplication must exist). The window then reads to a screen reader as
// it reads on screen: headline, numbers left to right, remark line, buttons, credit line, with
// the pictures left out as decoration.
void installAccessibleInterfaces();

// What the interfaces read off the widgets, kept on the widgets so that it lives exactly as long
// as they do: on a number label, the number the last finished draw left there ("" for none); on
// the window, whether a draw is running.
inline constexpr const char* kSettledNumberProperty = "settledNumber";
inline constexpr const char* kDrawingProperty = "drawing";
// The object name of the hidden notification that carries the announcements before Qt 6.8.
inline constexpr const char* kAnnouncementBoxName = "announcement";

}  // namespace tamapick
