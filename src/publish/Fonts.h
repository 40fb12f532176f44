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

} // namespace kc
