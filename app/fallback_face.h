#pragma once

#include <QString>

namespace tamapick {

// The Japanese face the program carries for systems with none installed: a small subset holding
// exactly the characters of the program's own texts, compiled into the program. The first call
// registers it with the font database; later calls only return the family name. It is empty if
// the face could not be registered (a font database that takes no fonts from memory).
QString fallbackJapaneseFace();

}  // namespace tamapick
