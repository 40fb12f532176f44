#include "banzuke/BanzukeImport.h"

#include "store/Csv.h"
#include "store/FileStore.h"
#include "store/Roster.h"
#include "store/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kc {

namespace {

constexpr int kNameBytes = 10;
constexpr int kTitleBytes = 40;

QString toNarrowDigits(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(char16_t(u'0' + (c.unicode() - 0xFF10)));
    return out;
}

// One CSV row: fields split at commas, "quoted" fields with "" for a quote.
QStringList csvFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << trimBlanks(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields << trimBlanks(field);
    return fields;
}

struct Line
{
    int number;
    QString rank;
    QString name;
};

class Parser
{
public:
    explicit Parser(const QString &fileName) : m_file(QFileInfo(fileName).fileName()) { }

    BanzukeImport run(const QString &text, bool csv)
    {
        QStringList lines = text.split(u'\n');
        for (QString &l : lines)
            if (l.endsWith(u'\r'))
                l.chop(1);
        return csv ? runCsv(lines) : runText(lines);
    }

private:
    BanzukeImport refuse(int line, const QString &what) const
    {
        BanzukeImport r;
        // In a JSON banzuke a wrestler is counted in banzuke order, not by line.
        const QString unit = m_json ? QStringLiteral("人目") : QStringLiteral("行目");
        // Downloaded bytes have no file name; whoever shows the message names the address.
        QStringList where;
        if (!m_file.isEmpty())
            where << m_file;
        if (line > 0)
            where << QString::number(line) + unit;
        r.message = where.isEmpty() ? what : where.join(u' ') + QStringLiteral(": ") + what;
        return r;
    }

    std::optional<QString> checkTitle(const QString &value, const QString &what) const
    {
        if (const auto problem = textProblem(value, what))
            return *problem;
        if (toCp932(value).size() > kTitleBytes)
            return QStringLiteral("%1「%2」が長すぎます（全角20文字、半角40文字まで）。")
                .arg(what, value);
        return std::nullopt;
    }

    BanzukeImport runText(const QStringList &lines)
    {
        if (lines.size() < 2)
            return refuse(0, QStringLiteral("1行目に場所名、2行目に場所コードが必要です。"));
        BanzukeImport r;
        r.record.bashoName = trimBlanks(lines[0]);
        r.record.bashoCode = trimBlanks(lines[1]);
        if (auto bad = checkTitle(r.record.bashoName, QStringLiteral("場所名")))
            return refuse(1, *bad);
        if (auto bad = checkTitle(r.record.bashoCode, QStringLiteral("場所コード")))
            return refuse(2, *bad);
        r.hasTitle = true;
        std::vector<Line> wrestlers;
        for (int i = 2; i < lines.size(); ++i) {
            const QString l = trimBlanks(lines[i]);
            if (l.isEmpty())
                continue;
            qsizetype cut = 0;
            while (cut < l.size() && !isBlank(l.at(cut)))
                ++cut;
            wrestlers.push_back({i + 1, l.left(cut), trimBlanks(l.mid(cut))});
        }
        return finish(std::move(r), wrestlers);
    }

    BanzukeImport runCsv(const QStringList &lines)
    {
        BanzukeImport r;
        bool haveName = false, haveCode = false, first = true;
        std::vector<Line> wrestlers;
        for (int i = 0; i < lines.size(); ++i) {
            if (trimBlanks(lines[i]).isEmpty())
                continue;
            const QStringList f = csvFields(lines[i]);
            const QString key = f.value(0);
            const QString lower = key.toLower();
            if (lower == u"場所名" || lower == u"basho") {
                r.record.bashoName = f.value(1);
                if (auto bad = checkTitle(r.record.bashoName, QStringLiteral("場所名")))
                    return refuse(i + 1, *bad);
                haveName = true;
                continue;
            }
            if (lower == u"場所コード" || lower == u"code") {
                r.record.bashoCode = f.value(1);
                if (auto bad = checkTitle(r.record.bashoCode, QStringLiteral("場所コード")))
                    return refuse(i + 1, *bad);
                haveCode = true;
                continue;
            }
            // A heading row before the first wrestler.
            if (first && wrestlers.empty()
                && (lower == u"rank" || lower == u"地位" || lower == u"番付")) {
                first = false;
                continue;
            }
            first = false;
            wrestlers.push_back({i + 1, key, f.value(1)});
        }
        if (haveName != haveCode)
            return refuse(0, QStringLiteral("場所名と場所コードは両方の行が必要です。"));
        r.hasTitle = haveName && haveCode;
        return finish(std::move(r), wrestlers);
    }

    BanzukeImport finish(BanzukeImport r, const std::vector<Line> &wrestlers)
    {
        int previous = 4;
        int count = 0;
        std::vector<std::pair<QString, int>> seen;
        for (const Line &l : wrestlers) {
            if (count >= kMaxWrestlers)
                return refuse(l.number, registration::tooManyMessage());
            const auto code = BanzukeImport::rankOf(l.rank);
            if (!code)
                return refuse(l.number,
                              QStringLiteral("地位「%1」が分かりません（横綱 大関 "
                                             "関脇 小結 前頭、または 4 3 2 1 0）。")
                                  .arg(l.rank));
            if (*code > previous)
                return refuse(l.number,
                              QStringLiteral("%1の後に%2があります。番付の順（上位から、東、"
                                             "西の順）に並べてください。")
                                  .arg(rankName(previous), rankName(*code)));
            previous = *code;
            if (l.name.isEmpty())
                return refuse(l.number, QStringLiteral("力士名がありません。"));
            if (const auto problem = textProblem(l.name, QStringLiteral("力士名")))
                return refuse(l.number, *problem);
            if (toCp932(l.name).size() > kNameBytes)
                return refuse(
                    l.number,
                    QStringLiteral("力士名「%1」が長すぎます（全角5文字、半角10文字まで）。")
                        .arg(quotedInput(l.name)));
            // Renaming and the entry table find wrestlers by name.
            for (const auto &[name, line] : seen)
                if (name == l.name)
                    return refuse(
                        l.number,
                        QStringLiteral("力士名「%1」が%2%3と重なっています。")
                            .arg(l.name)
                            .arg(line)
                            .arg(m_json ? QStringLiteral("人目") : QStringLiteral("行目")));
            seen.emplace_back(l.name, l.number);
            r.record.names[count] = l.name;
            r.record.rankCodes[count] = qint16(*code);
            ++r.counts.n[4 - *code];
            ++count;
        }
        if (count == 0)
            return refuse(0, QStringLiteral("力士の行がありません。"));
        if (auto bad = registration::checkCounts(r.counts))
            return refuse(0, *bad);
        r.record.wrestlerCount = qint16(count);
        r.ok = true;
        return r;
    }

public:
    // The downloaded banzuke: east and west lists merged in banzuke order.
    BanzukeImport runJson(const QByteArray &bytes)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (!doc.isObject())
            return refuse(0,
                          QStringLiteral("JSON として読めません（%1 文字目: %2）。")
                              .arg(error.offset)
                              .arg(doc.isNull() ? error.errorString()
                                                : QStringLiteral("オブジェクトではありません")));
        const QJsonObject o = doc.object();
        const QString division = o.value(QStringLiteral("division")).toString();
        if (!division.isEmpty() && division.toLower() != u"makuuchi" && division != u"幕内")
            return refuse(
                0, QStringLiteral("幕内の番付ではありません（division: %1）。").arg(division));
        if (!o.value(QStringLiteral("east")).isArray()
            || !o.value(QStringLiteral("west")).isArray())
            return refuse(0, QStringLiteral("東（\"east\"）と西（\"west\"）の一覧がありません。"));
        struct Item
        {
            int code, number, side, order;
            QString name, english, rank;
        };
        std::vector<Item> items;
        int order = 0;
        for (int side = 0; side < 2; ++side) {
            const QJsonArray list
                = o.value(side == 0 ? QStringLiteral("east") : QStringLiteral("west")).toArray();
            for (const QJsonValue &v : list) {
                const QJsonObject w = v.toObject();
                Item it {0,
                         0,
                         side,
                         order++,
                         w.value(QStringLiteral("shikonaJp")).toString(),
                         w.value(QStringLiteral("shikonaEn")).toString(),
                         w.value(QStringLiteral("rank")).toString()};
                const QString who = QStringLiteral("%1 %2").arg(
                    side == 0 ? QStringLiteral("東") : QStringLiteral("西"),
                    it.name.isEmpty() ? it.english : it.name);
                const QStringList words = it.rank.simplified().split(u' ');
                static const std::pair<const char *, int> kRanks[] = {{"yokozuna", 4},
                                                                      {"ozeki", 3},
                                                                      {"sekiwake", 2},
                                                                      {"komusubi", 1},
                                                                      {"maegashira", 0}};
                const QString word = WrestlerNames::fold(words.value(0));
                std::optional<int> code;
                for (const auto &[text, c] : kRanks)
                    if (word == QLatin1String(text))
                        code = c;
                if (!code)
                    code = BanzukeImport::rankOf(words.value(0));
                if (!code)
                    return refuse(0,
                                  QStringLiteral("%1: 地位「%2」は幕内の地位ではありません。")
                                      .arg(who, it.rank));
                it.code = *code;
                it.number = words.value(1).toInt();
                if (it.name.isEmpty())
                    it.name = it.english;
                for (QChar c : it.name)
                    if (c.category() == QChar::Other_Control)
                        return refuse(
                            0, QStringLiteral("%1: 力士名に使えない文字があります。").arg(who));
                items.push_back(it);
            }
        }
        std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
            if (a.code != b.code)
                return a.code > b.code;
            if (a.number != b.number)
                return a.number < b.number;
            return a.side < b.side;
        });
        if (items.size() > size_t(kMaxWrestlers)) {
            const Item &it = items[kMaxWrestlers];
            return refuse(0,
                          QStringLiteral("%1 %2（%3）: %4")
                              .arg(it.side == 0 ? QStringLiteral("東") : QStringLiteral("西"),
                                   it.name, it.rank, registration::tooManyMessage()));
        }
        BanzukeImport r;
        const QString id = o.value(QStringLiteral("bashoId")).toVariant().toString();
        if (id.size() == 6) {
            r.record.bashoName
                = QStringLiteral("%1年%2月場所").arg(id.left(4)).arg(id.mid(4).toInt());
            r.record.bashoCode = id;
            r.hasTitle = true;
        }
        std::vector<Line> wrestlers;
        m_json = true;
        for (const Item &it : items) {
            wrestlers.push_back({int(wrestlers.size()) + 1, QString::number(it.code), it.name});
            if (!it.english.isEmpty())
                r.english.emplace_back(it.name, it.english);
        }
        r = finish(std::move(r), wrestlers);
        r.fromJson = true;
        return r;
    }

private:
    QString m_file;
    bool m_json = false;
};

bool looksLikeJson(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        return c == '{';
    }
    return false;
}

} // namespace

std::optional<int> BanzukeImport::rankOf(const QString &word)
{
    QString w = toNarrowDigits(trimBlanks(word));
    if (w.size() == 1 && w.at(0) >= u'0' && w.at(0) <= u'4')
        return w.at(0).unicode() - u'0';
    if (w.startsWith(u'東') || w.startsWith(u'西'))
        w = w.mid(1);
    if (w.startsWith(QStringLiteral("張出")))
        w = w.mid(2);
    static const std::pair<const char16_t *, int> kWords[]
        = {{u"横綱", 4}, {u"大関", 3}, {u"関脇", 2}, {u"小結", 1}};
    for (const auto &[text, code] : kWords)
        if (w == QStringView(text))
            return code;
    // Maegashira with or without its number: 前頭, 前頭筆頭, 前頭3, 前3, 前頭3枚目.
    QString rest;
    if (w.startsWith(QStringLiteral("前頭")))
        rest = w.mid(2);
    else if (w.startsWith(u'前') && w.size() > 1)
        rest = w.mid(1);
    else
        return std::nullopt;
    if (rest.endsWith(QStringLiteral("枚目")))
        rest.chop(2);
    if (rest.isEmpty() || rest == u"筆頭")
        return 0;
    for (QChar c : rest)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return 0;
}

BanzukeImport BanzukeImport::parse(const QByteArray &bytes, const QString &fileName)
{
    QByteArray b = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (fileName.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive) || looksLikeJson(b))
        return Parser(fileName).runJson(b);
    const QString text = decodeUtf8OrCp932(bytes);
    bool csv = fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    if (!csv) {
        // A comma in the first line tells a CSV that was saved under another name.
        const QString firstLine = text.section(u'\n', 0, 0);
        csv = firstLine.contains(u',');
    }
    return Parser(fileName).run(text, csv);
}

BanzukeImport BanzukeImport::readFile(const QString &path)
{
    // A banzuke file is a few kilobytes; 1 MB is far more than any needs.
    BanzukeImport r;
    const auto bytes = readInputFile(path, 1024 * 1024, r.message);
    if (!bytes)
        return r;
    return parse(*bytes, path);
}

} // namespace kc
