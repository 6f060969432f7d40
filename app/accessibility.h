#pragma once

namespace tamapick {

// Installs the accessible interfaces of the window, its number labels and its announcement box
// (once per process; the QApplication must exist). The window then reads to a screen reader as
// it reads on screen: headline, numbers left to right, remark line, buttons, credit line, with
// the pictures left out as decoration.
void installAccessibleInterfaces();

}  // namespace tamapick
