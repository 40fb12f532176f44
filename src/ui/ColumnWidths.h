#pragma once

class QTableView;

namespace kc::ui {

// Ring names hold 16 bytes, wrestler names 10: as many half-width characters,
// or half as many full-width ones.
constexpr int kRingNameBytes = 16;
constexpr int kWrestlerNameBytes = 10;

// The pixels a column needs to show the widest name a field of `fieldBytes`
// can hold (0: no text), in either width, and its heading whole, in the
// view's own fonts; never less than `atLeast`.
int columnWidthFor(const QTableView *view, int column, int fieldBytes, int atLeast = 0);

} // namespace kc::ui
