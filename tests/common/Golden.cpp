#include "Golden.h"

#include "TestSupport.h"
#include "store/Text.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kc::test {

namespace {

QString unescape(QString s)
{
    return s.replace(u"\\r"_s, u"\r"_s).replace(u"\\n"_s, u"\n"_s).replace(u"\\t"_s, u"\t"_s);
}

bool isText(const QString &file)
{
    for (const char *suffix : {".html", ".txt", ".csv", ".css"})
        if (file.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

// The lines between the common head and tail, expected (-) then actual (+).
std::string lineDiff(const QString &expected, const QString &actual)
{
    const QStringList e = expected.split(u'\n'), a = actual.split(u'\n');
    qsizetype head = 0, tail = 0;
    while (head < e.size() && head < a.size() && e[head] == a[head])
        ++head;
    while (tail < e.size() - head && tail < a.size() - head
           && e[e.size() - 1 - tail] == a[a.size() - 1 - tail])
        ++tail;
    std::string out = "first difference at line " + std::to_string(head + 1) + ":\n";
    const auto add = [&](const QStringList &lines, const char *sign) {
        const qsizetype end = lines.size() - tail, shown = std::min<qsizetype>(end, head + 12);
        for (qsizetype i = head; i < shown; ++i)
            out += sign + QString(lines[i]).remove(u'\r').toStdString() + '\n';
        if (shown < end)
            out += sign + std::string("... ") + std::to_string(end - shown) + " more lines\n";
    };
    add(e, "- ");
    add(a, "+ ");
    return out;
}

} // namespace

GoldenCase::GoldenCase(const QString &suite, const QString &name)
    : m_name(name), m_dir(qEnvironmentVariable("KC_TEST_SOURCE_DIR")
                          + QStringLiteral("/tests/golden/") + suite + u'/' + name)
{
    const QString text = QString::fromUtf8(readBytes(path(QStringLiteral("input.ini"))));
    for (const QString &raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (line.isEmpty() || line.startsWith(u'#') || eq < 0)
            continue;
        m_input.append({line.left(eq).trimmed(), unescape(line.mid(eq + 1).trimmed())});
    }
}

QString GoldenCase::path(const QString &file) const
{
    return m_dir + u'/' + file;
}

QString GoldenCase::value(const QString &key, const QString &fallback) const
{
    const QStringList all = values(key);
    return all.isEmpty() ? fallback : all.last();
}

int GoldenCase::number(const QString &key, int fallback) const
{
    bool ok = false;
    const int n = value(key).toInt(&ok);
    return ok ? n : fallback;
}

QStringList GoldenCase::values(const QString &key) const
{
    QStringList out;
    for (const auto &[k, v] : m_input)
        if (k == key)
            out << v;
    return out;
}

void GoldenCase::expect(const QString &file, const QByteArray &actual) const
{
    const std::string where = QString(m_name + u'/' + file).toStdString();
    if (qEnvironmentVariable("KC_UPDATE_GOLDEN") == u"1") {
        writeBytes(path(file), actual);
        return;
    }
    QFile f(path(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing golden file " << where;
    const QByteArray expected = f.readAll();
    if (expected == actual)
        return;
    if (isText(file)) {
        const QString e = fromCp932(expected), a = fromCp932(actual);
        if (e != a) {
            ADD_FAILURE() << where << " differs, " << lineDiff(e, a);
            return;
        }
    }
    // The same text in other bytes: name the first differing byte.
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    ADD_FAILURE() << where << " differs at byte " << at << " (expected " << expected.size()
                  << " bytes, got " << actual.size() << "): expected \""
                  << expected.mid(at, 60).toHex(' ').toStdString() << "\", got \""
                  << actual.mid(at, 60).toHex(' ').toStdString() << "\"";
}

} // namespace kc::test
