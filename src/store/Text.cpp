#include "store/Text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <limits>

namespace kc {

namespace {
constexpr const char *kCodec = "Windows-31J";

QChar narrowDigitOrSign(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF10 && u <= 0xFF19) // full-width digits
        return QChar(char16_t(u'0' + (u - 0xFF10)));
    switch (u) {
    case 0xFF0B:
        return QChar(u'+');
    case 0xFF0D:
    case 0x2212:
        return QChar(u'-');
    case 0xFF0E:
        return QChar(u'.');
    case 0x3000:
        return QChar(u' ');
    default:
        return c;
    }
}
} // namespace

QByteArray toCp932(const QString &text)
{
    QStringEncoder enc(kCodec);
    return enc.encode(text);
}

QString fromCp932(const QByteArray &bytes)
{
    QStringDecoder dec(kCodec);
    return dec.decode(bytes);
}

QByteArray fixedField(const QString &text, int width)
{
    QByteArray out;
    out.reserve(width);
    QStringEncoder enc(kCodec);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray bytes = enc.encode(QStringView(text).mid(i, len));
        if (out.size() + bytes.size() > width)
            break;
        out += bytes;
        i += len;
    }
    out.append(width - out.size(), ' ');
    return out;
}

QString trimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && (text.at(end - 1) == u' ' || text.at(end - 1) == QChar(0)))
        --end;
    return text.left(end);
}

namespace {
QString hexCode(char32_t code)
{
    return QStringLiteral("%1").arg(uint(code), 4, 16, QChar(u'0')).toUpper();
}
} // namespace

std::optional<QString> textProblem(const QString &text, const QString &what)
{
    QStringEncoder enc(kCodec, QStringEncoder::Flag::Stateless);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView one = QStringView(text).mid(i, len);
        const char32_t code = len == 2 ? QChar::surrogateToUcs4(one[0], one[1]) : one[0].unicode();
        if (code < 0x20 || code == 0x7f || (code >= 0x80 && code < 0xa0))
            return QStringLiteral("%1に制御文字（U+%2）は使えません。").arg(what, hexCode(code));
        const QByteArray bytes = enc.encode(one);
        // CP932 round trip: a character it cannot hold comes back as something else.
        if (enc.hasError() || fromCp932(bytes) != one)
            return QStringLiteral("%1に使えない文字「%2」（U+%3）があります。")
                .arg(what, one.toString(), hexCode(code));
        i += len;
    }
    return std::nullopt;
}

QString fitText(const QString &text, int width)
{
    return trimRight(fromCp932(fixedField(text, width)));
}

QString cutNotice(const QString &text, int width, const QString &what)
{
    const QString kept = fitText(text, width);
    if (kept == trimRight(text))
        return QString();
    return QStringLiteral(
               "%1は全角%2文字（半角%3文字）までのため、「%4」を「%5」として登録しました。")
        .arg(what)
        .arg(width / 2)
        .arg(width)
        .arg(quotedInput(text), kept);
}

QString quotedInput(const QString &text)
{
    constexpr int kShown = 40;
    QString out;
    for (const QChar c : text) {
        if (out.size() >= kShown) {
            out += QStringLiteral("…");
            break;
        }
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            out += QStringLiteral("U+") + hexCode(u);
        else
            out += c;
    }
    return out;
}

QString fieldText(const QByteArray &bytes)
{
    return trimRight(fromCp932(bytes));
}

double val(const QString &raw)
{
    QString s;
    s.reserve(raw.size());
    for (QChar c : raw) {
        c = narrowDigitOrSign(c);
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue; // Val skips blanks anywhere in the number
        s.append(c);
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }
    double mantissa = 0;
    bool any = false;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        mantissa = mantissa * 10 + (s[i].unicode() - u'0');
        any = true;
        ++i;
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            mantissa += (s[i].unicode() - u'0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any)
        return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        qsizetype j = i + 1;
        bool expNeg = false;
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+')) {
            expNeg = s[j] == u'-';
            ++j;
        }
        int exponent = 0;
        bool expAny = false;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128 && exponent < 1000) {
            exponent = exponent * 10 + (s[j].unicode() - u'0');
            expAny = true;
            ++j;
        }
        if (expAny)
            mantissa *= std::pow(10.0, expNeg ? -exponent : exponent);
    }
    return negative ? -mantissa : mantissa;
}

namespace {
template<typename T> std::optional<T> roundHalfEven(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double r = std::nearbyint(x); // default rounding mode is to nearest, ties to even
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}
template<typename T> T clamped(double x)
{
    if (std::isnan(x))
        return 0;
    const double r = std::nearbyint(x);
    if (r < double(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (r > double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(r);
}
} // namespace

std::optional<qint16> cint(double x)
{
    return roundHalfEven<qint16>(x);
}
std::optional<qint32> clng(double x)
{
    return roundHalfEven<qint32>(x);
}
qint16 cintClamped(double x)
{
    return clamped<qint16>(x);
}
qint32 clngClamped(double x)
{
    return clamped<qint32>(x);
}

QString formatThousands(qint64 value)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -value : value);
    for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3)
        digits.insert(pos, u',');
    return negative ? u'-' + digits : digits;
}

} // namespace kc
