#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kc {

// Fixed-width text of the contest files is CP932 (Windows-31J).
QByteArray toCp932(const QString &text);
QString fromCp932(const QByteArray &bytes);

// Encodes text into exactly `width` bytes: blank-padded, and cut at a character
// boundary so a double-byte character is never split in half.
QByteArray fixedField(const QString &text, int width);

// Every text typed for a contest file passes here. The message naming `what`
// and the first character the file cannot hold (outside CP932, or a control
// character such as a tab or a line break); nullopt when the text is fine.
std::optional<QString> textProblem(const QString &text, const QString &what);
// The part of `text` a field of `width` bytes holds, cut as fixedField() cuts.
QString fitText(const QString &text, int width);
// The organiser's notice when fitText() cut `text`; empty when it fits.
QString cutNotice(const QString &text, int width, const QString &what);
// Input quoted in a message: control characters shown as U+XXXX, long text shortened.
QString quotedInput(const QString &text);

// Text of a fixed field with its trailing blanks removed.
QString fieldText(const QByteArray &bytes);
QString trimRight(const QString &text);

// The leading number of a text, 0 when it does not start with one. Blanks are
// skipped, as are digits typed full-width through a Japanese input method.
double val(const QString &text);

// Round half to even to a 16-bit or 32-bit whole number; nullopt when out of range.
std::optional<qint16> cint(double x);
std::optional<qint32> clng(double x);

// cint/clng for callers that have already range-checked or that saturate.
qint16 cintClamped(double x);
qint32 clngClamped(double x);

// "#,##0"
QString formatThousands(qint64 value);

} // namespace kc
