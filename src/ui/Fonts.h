#pragma once

class QLabel;
class QString;
class QWidget;

namespace kc::ui {

// The large bold centred caption at the top of a report window (Label1).
QLabel *makeTitleLabel(const QString &text, QWidget *parent);

// Maps the Windows font names to installed fonts and makes the UI Gothic the
// application font, so every window shows its Japanese texts.
void installUiFonts();

} // namespace kc::ui
