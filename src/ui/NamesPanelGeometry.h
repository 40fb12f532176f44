#pragma once

#include "banzuke/BanzukeRegistration.h"

namespace kc::namespanel {

// The banzuke window's names panel in twips: a label per row and a box per
// slot, east at 480 and west at 2760, row r at 700 + 270·r.
inline constexpr int kEastLeft = 480;
inline constexpr int kWestLeft = 2760;
inline constexpr int kTop = 700;
inline constexpr int kRowHeight = 270;

constexpr int rowTop(int row)
{
    return kTop + kRowHeight * row;
}

inline int boxLeft(const NamesPanelLayout &layout, int slot)
{
    return layout.boxEast[slot] ? kEastLeft : kWestLeft;
}

inline int boxTop(const NamesPanelLayout &layout, int slot)
{
    return rowTop(layout.boxRow[slot]);
}

} // namespace kc::namespanel
