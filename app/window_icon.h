#pragma once

#include <QIcon>
#include <QString>

namespace tamapick {

// The window icon, drawn from its vector source by our own renderer at whatever size the
// windowing system asks for, when it asks. No icon-engine plugin has to be found and loaded,
// and a platform that shows no window icons (Wayland takes the icon from the desktop entry)
// never pays for drawing one.
QIcon windowIconFromSource(const QString& resource);

}  // namespace tamapick
