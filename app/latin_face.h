#pragma once

#include <QFont>
#include <QString>

namespace tamapick {

// The face a desktop in an English locale draws `font`'s Latin letters in. Where the font names
// a generic family ("Sans Serif", GTK's "Sans"), fontconfig resolves it by the locale's
// language: under ja_JP it ranks the faces that cover Japanese first, and of those the one its
// configuration names for sans-serif is the fixed-pitch IPAGothic, so Qt would draw "Numbers3"
// like terminal text. Resolving the family for English instead gives the proportional face every
// other locale gets, without touching the process's locale or environment. An installed family
// is itself; without fontconfig (Windows) it is the face Qt resolves.
QString latinFaceOf(const QFont& font);

}  // namespace tamapick
