#include "store/Csv.h"

#include "store/Text.h"

#include <QStringDecoder>

namespace kc {

bool isBlank(QChar c)
{
    return c.isSpace() || c.unicode() == 0x3000;
}

QString trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s.at(b)))
        ++b;
    while (e > b && isBlank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

std::vector<CsvRecord> parseCsv(const QString &text)
{
    std::vector<CsvRecord> out;
    CsvRecord current;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    current.line = 1;
    auto endField = [&] {
        current.fields << (wasQuoted ? field : trimBlanks(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&](int nextLine) {
        endField();
        const bool blank = current.fields.size() == 1 && current.fields.first().isEmpty();
        if (!blank)
            out.push_back(current);
        current = CsvRecord {};
        current.line = nextLine;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n')
            ++line;
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c != u'\r') {
                field += c;
            }
        } else if (c == u'"' && trimBlanks(field).isEmpty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == u',') {
            endField();
        } else if (c == u'\n') {
            endRecord(line);
        } else if (c != u'\r') {
            field += c;
        }
    }
    endRecord(line);
    return out;
}

QString decodeUtf8OrCp932(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp932(bytes);
}

} // namespace kc
