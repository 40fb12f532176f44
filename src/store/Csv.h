#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kc {

// One record of a CSV file and the line it starts on (1-based).
struct CsvRecord
{
    int line = 0;
    QStringList fields; // trimmed, quotes removed
};

// Splits CSV text into records: fields at commas, "quoted" fields may hold
// commas, "" and line breaks (as web forms export them). Blank lines are skipped.
std::vector<CsvRecord> parseCsv(const QString &text);

// Blank includes the ideographic space that Japanese input methods type.
bool isBlank(QChar c);
QString trimBlanks(const QString &s);

// UTF-8 (with or without BOM) when the bytes are valid UTF-8, CP932 otherwise.
QString decodeUtf8OrCp932(const QByteArray &bytes);

} // namespace kc
