#include "scoring/ResultImport.h"

#include "banzuke/BanzukeImport.h"
#include "banzuke/WrestlerNames.h"
#include "store/Contest.h"
#include "store/Csv.h"
#include "store/FileStore.h"
#include "store/Roster.h"
#include "store/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kc {

namespace {

// Rank code of the file's rank text ("Yokozuna 1 East", "大関", "前頭3"), -1 for a
// rank below the top division (a 十両 wrestler fighting up), nullopt when absent.
std::optional<int> fileRank(const QString &text)
{
    const QString t = WrestlerNames::fold(text);
    if (t.isEmpty())
        return std::nullopt;
    static const std::pair<const char *, int> kWords[]
        = {{"yokozuna", 4}, {"ozeki", 3}, {"sekiwake", 2}, {"komusubi", 1}, {"maegashira", 0}};
    for (const auto &[word, code] : kWords)
        if (t.startsWith(QLatin1String(word)))
            return code;
    if (const auto code = BanzukeImport::rankOf(t.section(u' ', 0, 0)))
        return code;
    return -1;
}

bool isFusen(const QString &kimarite)
{
    const QString k = WrestlerNames::fold(kimarite);
    return k == u"fusen" || k.startsWith(QStringLiteral("不戦"));
}

} // namespace

int winningMark(int winnerRank, int loserRank)
{
    if (winnerRank <= Sekiwake && loserRank == Yokozuna)
        return MarkGold;
    if ((winnerRank <= Sekiwake && loserRank == Ozeki)
        || (winnerRank == Ozeki && loserRank == Yokozuna))
        return MarkSilver;
    return MarkWin;
}

namespace {

class Reader
{
public:
    Reader(const QString &fileName, const Roster &roster, const WrestlerNames &names)
        : m_file(QFileInfo(fileName).fileName()), m_roster(roster), m_names(names)
    {
    }

    ResultFile fromJson(const QByteArray &bytes)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (doc.isNull())
            return refuse(QStringLiteral("JSON として読めません（%1 文字目: %2）。")
                              .arg(error.offset)
                              .arg(error.errorString()));
        QJsonArray bouts;
        if (doc.isArray())
            bouts = doc.array();
        else if (doc.object().value(QStringLiteral("torikumi")).isArray())
            bouts = doc.object().value(QStringLiteral("torikumi")).toArray();
        else
            return refuse(QStringLiteral("取組（\"torikumi\"）の一覧がありません。"));
        if (bouts.isEmpty())
            return refuse(QStringLiteral("取組がありません。"));
        // Names the file pairs itself (the winner in both scripts) help find the loser's too.
        WrestlerNames names = m_names;
        for (const QJsonValue &v : bouts) {
            const QJsonObject b = v.toObject();
            names.addEnglish(b.value(QStringLiteral("winnerJp")).toString(),
                             b.value(QStringLiteral("winnerEn")).toString());
            for (const char *side : {"east", "west"}) {
                const QString s = QLatin1String(side);
                names.addEnglish(b.value(s + QStringLiteral("ShikonaJp")).toString(),
                                 b.value(s + QStringLiteral("Shikona")).toString());
            }
        }
        for (int i = 0; i < bouts.size(); ++i) {
            if (!bouts[i].isObject())
                return refuse(QStringLiteral("%1番目の取組が正しくありません。").arg(i + 1));
            if (!readBout(bouts[i].toObject(), i + 1, names))
                return m_out;
        }
        m_out.bouts = int(bouts.size());
        return finish();
    }

    ResultFile fromCsv(const QByteArray &bytes)
    {
        const std::vector<CsvRecord> records = parseCsv(decodeUtf8OrCp932(bytes));
        for (size_t i = 0; i < records.size(); ++i) {
            const CsvRecord &r = records[i];
            const auto mark = parseMark(r.fields.value(1));
            if (i == 0 && !mark && r.fields.size() >= 2) {
                const QString head = WrestlerNames::fold(r.fields[0]);
                if (head == u"力士名" || head == u"力士" || head == u"name" || head == u"rikishi")
                    continue;
            }
            if (r.fields.size() < 2 || r.fields[0].isEmpty())
                return refuse(
                    QStringLiteral("%1行目: 「力士名,結果」の形ではありません。").arg(r.line));
            if (!mark)
                return refuse(QStringLiteral("%1行目: 結果「%2」は 黒 白 銀 金 休 または 0〜4 "
                                             "で書いてください。")
                                  .arg(r.line)
                                  .arg(r.fields[1]));
            add(r.fields[0], m_names.slotOf(r.fields[0]), *mark,
                QStringLiteral("%1行目").arg(r.line));
            if (!m_out.message.isEmpty())
                return m_out;
        }
        if (records.empty())
            return refuse(QStringLiteral("結果の行がありません。"));
        return finish();
    }

private:
    ResultFile refuse(const QString &what)
    {
        m_out.ok = false;
        m_out.message = prefixed(what);
        return m_out;
    }

    // Bytes without a file name (a download) are named by whoever shows the message.
    QString prefixed(const QString &what) const
    {
        return m_file.isEmpty() ? what : m_file + QStringLiteral(": ") + what;
    }

    void add(const QString &name, std::optional<int> slot, int mark, const QString &where)
    {
        if (!slot) {
            m_out.unknownNames << QStringLiteral("%1（%2）").arg(name, where);
            return;
        }
        for (const ResultFile::Mark &m : m_out.marks)
            if (m.slot == *slot) {
                refuse(QStringLiteral("%1: 力士「%2」が二度出てきます。").arg(where, name));
                return;
            }
        m_out.marks.push_back({*slot, mark, name});
    }

    bool readBout(const QJsonObject &b, int number, const WrestlerNames &names)
    {
        const QString where = QStringLiteral("%1番目の取組").arg(number);
        if (b.contains(QStringLiteral("day"))) {
            const QJsonValue v = b.value(QStringLiteral("day"));
            // Some feeds write the day as a string ("1").
            bool isNumber = v.isDouble();
            const int day = v.isString() ? v.toString().trimmed().toInt(&isNumber) : v.toInt();
            if (!isNumber) {
                refuse(QStringLiteral("%1: 日（day）が「%2」です。1～15 の数を入れてください。")
                           .arg(where, quotedInput(v.toVariant().toString())));
                return false;
            }
            if (day < 1 || day > kDays || (m_out.day && *m_out.day != day)) {
                refuse(QStringLiteral("%1: 日（day）が %2 です。一日分の結果を読み込んでください。")
                           .arg(where)
                           .arg(v.toVariant().toString()));
                return false;
            }
            m_out.day = day;
        }
        struct Side
        {
            QString name;
            std::optional<int> slot;
            std::optional<int> rank;
            QJsonValue id;
        } sides[2];
        for (int s = 0; s < 2; ++s) {
            const QString p = s == 0 ? QStringLiteral("east") : QStringLiteral("west");
            const QString jp = b.value(p + QStringLiteral("ShikonaJp")).toString();
            sides[s].name = b.value(p + QStringLiteral("Shikona")).toString();
            sides[s].slot = jp.isEmpty() ? std::nullopt : names.slotOf(jp);
            if (!sides[s].slot)
                sides[s].slot = names.slotOf(sides[s].name);
            if (sides[s].name.isEmpty())
                sides[s].name = jp;
            sides[s].rank = fileRank(b.value(p + QStringLiteral("Rank")).toString());
            sides[s].id = b.value(p + QStringLiteral("Id"));
            if (sides[s].name.isEmpty()) {
                refuse(QStringLiteral("%1: %2 の力士名がありません。")
                           .arg(where, s == 0 ? QStringLiteral("東") : QStringLiteral("西")));
                return false;
            }
        }
        const int winner = winnerSide(b, sides[0].name, sides[1].name, sides[0].slot, sides[1].slot,
                                      sides[0].id, sides[1].id, names);
        if (winner < 0) {
            refuse(QStringLiteral("%1（%2 対 %3）: 勝者が分かりません。結果が出た後のファイルを"
                                  "読み込んでください。")
                       .arg(where, sides[0].name, sides[1].name));
            return false;
        }
        const Side &w = sides[winner], &l = sides[1 - winner];
        const bool fusen = isFusen(b.value(QStringLiteral("kimarite")).toString());
        // A rank the file gives in a form not read here falls back on the banzuke's.
        auto rankOf = [&](const Side &s) {
            if (s.slot && (!s.rank || *s.rank < 0))
                return int(m_roster.wrestlers[*s.slot].rankCode);
            return s.rank ? *s.rank : 0;
        };
        const int wMark = fusen ? int(MarkWin) : winningMark(rankOf(w), rankOf(l));
        const int lMark = fusen ? int(MarkAbsent) : int(MarkLoss);
        for (const auto &[side, mark] : {std::pair {&w, wMark}, std::pair {&l, lMark}}) {
            // A 十両 wrestler fighting up is not on the top-division banzuke.
            if (!side->slot && side->rank && *side->rank < 0)
                continue;
            add(side->name, side->slot, mark, where);
            if (!m_out.message.isEmpty())
                return false;
        }
        return true;
    }

    // 0 east, 1 west, -1 when the bout has no winner yet.
    static int winnerSide(const QJsonObject &b, const QString &east, const QString &west,
                          std::optional<int> eastSlot, std::optional<int> westSlot,
                          const QJsonValue &eastId, const QJsonValue &westId,
                          const WrestlerNames &names)
    {
        const QJsonValue winnerId = b.value(QStringLiteral("winnerId"));
        if (!winnerId.isUndefined() && !winnerId.isNull() && winnerId.toDouble() != 0) {
            if (!eastId.isUndefined() && winnerId == eastId)
                return 0;
            if (!westId.isUndefined() && winnerId == westId)
                return 1;
        }
        for (const char *key : {"winnerEn", "winnerJp", "winner"}) {
            const QString w = b.value(QLatin1String(key)).toString();
            if (w.isEmpty())
                continue;
            const QString f = WrestlerNames::fold(w);
            if (f == WrestlerNames::fold(east))
                return 0;
            if (f == WrestlerNames::fold(west))
                return 1;
            const auto slot = names.slotOf(w);
            if (slot && slot == eastSlot)
                return 0;
            if (slot && slot == westSlot)
                return 1;
        }
        return -1;
    }

    ResultFile finish()
    {
        if (!m_out.unknownNames.isEmpty()) {
            m_out.ok = false;
            m_out.message
                = prefixed(QStringLiteral("番付にない力士名があります。何も変更していません。\n  ")
                           + m_out.unknownNames.join(QStringLiteral("\n  ")));
            return m_out;
        }
        if (m_out.marks.empty())
            return refuse(
                QStringLiteral("番付の力士の結果がありません（幕内の取組のファイルですか）。"));
        m_out.ok = true;
        return m_out;
    }

    QString m_file;
    const Roster &m_roster;
    const WrestlerNames &m_names;
    ResultFile m_out;
};

bool looksLikeJson(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        return c == '{' || c == '[';
    }
    return false;
}

} // namespace

ResultFile ResultFile::parse(const QByteArray &bytes, const QString &fileName, const Roster &roster,
                             const WrestlerNames &names)
{
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b = b.mid(3);
    Reader reader(fileName, roster, names);
    const bool json
        = fileName.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive) || looksLikeJson(b);
    return json ? reader.fromJson(b) : reader.fromCsv(b);
}

ResultFile ResultFile::readFile(const QString &path, const Contest &contest)
{
    // Only a regular file of a size a real one can have: never a device or a pipe.
    ResultFile refused;
    const auto bytes = readInputFile(path, 1024 * 1024, refused.message);
    if (!bytes)
        return refused;
    const WrestlerNames names(contest.roster(), WrestlerNames::readTable(contest));
    return parse(*bytes, path, contest.roster(), names);
}

ResultImportOutcome applyResultFile(Contest &contest, const ResultFile &file, int day)
{
    ResultImportOutcome out;
    if (!file.ok) {
        out.refusal = file.message;
        return out;
    }
    if (file.day && *file.day != day) {
        out.refusal = QStringLiteral("ファイルは%1日目の結果です。%2日目には読み込めません。")
                          .arg(*file.day)
                          .arg(day);
        return out;
    }
    if (day < 1 || day > kDays || day <= contest.rules().currentDay) {
        out.refusal = markLockText(MarkLock::DayConfirmed);
        return out;
    }
    for (const ResultFile::Mark &m : file.marks) {
        const int before = contest.roster().wrestlers[m.slot].dayResult[day - 1];
        const MarkLock lock = setMark(contest, m.slot, day, m.mark);
        // 休 for a wrestler whose absence is confirmed already says what is there.
        if (lock == MarkLock::AbsenceConfirmed && m.mark == MarkAbsent)
            continue;
        if (lock != MarkLock::None)
            out.locked << m.name + QStringLiteral(": ") + markLockText(lock);
        else if (before != m.mark)
            ++out.changed;
    }
    return out;
}

} // namespace kc
