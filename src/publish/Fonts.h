#pragma once

#include <QString>

namespace kc {

// The contest's printed pages and windows name the Windows fonts
// "ＭＳ 明朝", "ＭＳ Ｐ明朝" and the UI Gothic. Maps each of them to the best
// installed font (IPAex first), so every Japanese text renders. Safe to call
// more than once; needs a QGuiApplication.
void installFontSubstitutes();

// The installed families used for the Mincho and Gothic names (for messages
// and tests); empty when none of the candidates is installed.
QString minchoSubstitute();
QString gothicSubstitute();

enum class PrintFace { Mincho, PMincho, Gothic };
// The installed family that prints a report font: a fixed-pitch Mincho (Latin
// at half a cell) for ＭＳ 明朝, a proportional one for ＭＳ Ｐ明朝. A family whose
// character map gives a glyph to the Kangxi radicals is taken only when no
// other is installed: a PDF's text map names the lowest code point of a glyph,
// so 月 would copy as the radical ⽉.
QString printFamily(PrintFace face);

} // namespace kc
