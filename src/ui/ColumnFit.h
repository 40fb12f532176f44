#pragma once

class QTableView;

namespace kc::ui {

// The width that shows a column's heading and every cell whole, in the view's
// fonts (header and cells), elision never needed.
int contentWidth(const QTableView &view, int column);

// Widens the column to its content; never narrows it below its set width.
void widenToContent(QTableView &view, int column);

} // namespace kc::ui
