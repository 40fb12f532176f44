#pragma once

class QTableView;

namespace kc::ui {

// Ring names hold 8 full-width characters (16 bytes), wrestler names 5 (10 bytes).
constexpr int kRingNameChars = 8;
constexpr int kWrestlerNameChars = 5;

// The pixels a column needs to show `fullWidthChars` full-width characters
// whole (0: no text) and its heading whole, in the view's own fonts; never
// less than `atLeast`.
int columnWidthFor(const QTableView *view, int column, int fullWidthChars, int atLeast = 0);

} // namespace kc::ui
