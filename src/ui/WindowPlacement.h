#pragma once

class QWidget;

namespace kc::ui {

// Puts a shown top-level window beside `anchor` so that it covers none of the
// anchor's controls: to its right, else to its left; where neither side has
// room, below the anchor's menus and buttons `keepTop` pixels from its top.
void placeBeside(QWidget *window, const QWidget *anchor, int keepTop = 0);

} // namespace kc::ui
