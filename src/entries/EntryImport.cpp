#include "entries/EntryImport.h"

#include "banzuke/WrestlerNames.h"
#include "entries/EntryRegistration.h"
#include "entries/EntryValidation.h"
#include "store/Contest.h"
#include "store/Csv.h"
#include "store/FileStore.h"

#include <QFile>

namespace kc {

namespace {

enum Column { Shikona, Furigana, Member, Birth, Tel, Fax, Mail, Pick, Reserve, Other };

Column columnOf(const QString &heading)
{
    const QString h = WrestlerNames::fold(heading).remove(u' ').remove(u'：').remove(u':');
    static const std::pair<Column, std::vector<QString>> kNames[] = {
        {Shikona,
         {QStringLiteral("四股名"), QStringLiteral("しこな"), QStringLiteral("shikona"),
          WrestlerNames::fold(QStringLiteral("ニックネーム")), QStringLiteral("nickname")}},
        {Furigana,
         {WrestlerNames::fold(QStringLiteral("フリガナ")), QStringLiteral("ふりがな"),
          QStringLiteral("furigana"), QStringLiteral("よみ"), QStringLiteral("読み")}},
        {Member,
         {QStringLiteral("会員名"), QStringLiteral("氏名"), QStringLiteral("名前"),
          QStringLiteral("member"), QStringLiteral("name")}},
        {Birth, {QStringLiteral("生年月日"), QStringLiteral("birth"), QStringLiteral("birthday")}},
        {Tel,
         {QStringLiteral("電話番号"), QStringLiteral("電話"), QStringLiteral("tel"),
          QStringLiteral("phone")}},
        {Fax, {QStringLiteral("fax番号"), QStringLiteral("fax")}},
        {Mail,
         {WrestlerNames::fold(QStringLiteral("メールアドレス")),
          WrestlerNames::fold(QStringLiteral("メール")), QStringLiteral("mail"),
          QStringLiteral("email"), QStringLiteral("e-mail")}},
        {Reserve, {QStringLiteral("予備力士"), QStringLiteral("予備"), QStringLiteral("reserve")}},
    };
    for (const auto &[column, names] : kNames)
        for (const QString &n : names)
            if (h == n)
                return column;
    for (const QString &prefix :
         {QStringLiteral("選択力士"), QStringLiteral("力士"), QStringLiteral("pick")}) {
        if (!h.startsWith(prefix))
            continue;
        bool number = false;
        h.mid(prefix.size()).toInt(&number);
        if (number)
            return Pick;
    }
    return Other;
}

struct Layout
{
    std::vector<Column> columns; // per CSV column
    bool header = false;
};

Layout layoutOf(const QStringList &first, int pickCount, bool reserve)
{
    Layout l;
    for (const QString &f : first) {
        const Column c = columnOf(f);
        l.columns.push_back(c);
        if (c == Shikona)
            l.header = true;
    }
    if (l.header)
        return l;
    l.columns = {Shikona, Furigana, Member, Birth, Tel, Fax, Mail};
    for (int i = 0; i < pickCount; ++i)
        l.columns.push_back(Pick);
    if (reserve)
        l.columns.push_back(Reserve);
    return l;
}

} // namespace

EntryImport EntryImport::parse(const QByteArray &bytes, const Contest &contest)
{
    EntryImport out;
    const std::vector<CsvRecord> records = parseCsv(decodeUtf8OrCp932(bytes));
    const RulesRecord &rules = contest.rules();
    const int pickCount = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    const bool useReserve = rules.reserveInUse();
    if (records.empty()) {
        out.message = QStringLiteral("申込の行がありません。");
        return out;
    }
    const Layout layout = layoutOf(records.front().fields, pickCount, useReserve);
    // Fields a line must reach: the last column the rules read.
    int needed = 0;
    int picksSeen = 0;
    for (int i = 0; i < int(layout.columns.size()); ++i) {
        const Column c = layout.columns[i];
        if (c == Shikona || (c == Pick && picksSeen++ < pickCount) || (c == Reserve && useReserve))
            needed = i + 1;
    }
    const WrestlerNames names(contest.roster(), WrestlerNames::readTable(contest));
    // A wrestler named rather than numbered becomes his number, as typed in the box.
    auto numberOf = [&](const QString &text, QString &why) -> QString {
        const QString t = text.trimmed();
        if (t.isEmpty() || t.at(0).isDigit())
            return t;
        if (const auto slot = names.slotOf(t))
            return QString::number(*slot + 10);
        why = QStringLiteral("力士「%1」は番付にありません。").arg(t);
        return QString();
    };
    for (size_t r = layout.header ? 1 : 0; r < records.size(); ++r) {
        const CsvRecord &rec = records[r];
        EntryForm form;
        QString why;
        int pick = 0;
        for (int i = 0; i < int(layout.columns.size()) && i < rec.fields.size() && why.isEmpty();
             ++i) {
            // A box holds one line: line breaks of a form's long answers become blanks.
            QString v = rec.fields[i];
            for (QChar &ch : v)
                if (ch.category() == QChar::Other_Control)
                    ch = u' ';
            switch (layout.columns[i]) {
            case Shikona:
                form.shikona = v;
                break;
            case Furigana:
                form.furigana = v;
                break;
            case Member:
                form.memberName = v;
                break;
            case Birth:
                form.birth = v;
                break;
            case Tel:
                form.tel = v;
                break;
            case Fax:
                form.fax = v;
                break;
            case Mail:
                form.mail = v;
                break;
            case Pick:
                if (pick < pickCount)
                    form.picks[pick] = numberOf(v, why);
                else if (!v.trimmed().isEmpty())
                    why = QStringLiteral("選択できる力士は %1 名までです。").arg(pickCount);
                ++pick;
                break;
            case Reserve:
                if (useReserve)
                    form.reserve = numberOf(v, why);
                break;
            case Other:
                break;
            }
        }
        if (why.isEmpty() && rec.fields.size() < needed)
            why = QStringLiteral("項目が足りません（%1 項目のところ %2 項目）。")
                      .arg(needed)
                      .arg(rec.fields.size());
        if (why.isEmpty()) {
            const ValidationResult v = validateEntry(form, rules, contest.roster());
            if (!v.ok())
                why = v.message;
        }
        if (!why.isEmpty()) {
            const QString who = form.shikona.trimmed();
            out.refusals << (who.isEmpty()
                                 ? QStringLiteral("%1行目: %2").arg(rec.line).arg(why)
                                 : QStringLiteral("%1行目（%2）: %3").arg(rec.line).arg(who, why));
            continue;
        }
        out.forms.push_back(form);
        out.lines.push_back(rec.line);
    }
    if (out.forms.empty() && out.refusals.isEmpty())
        out.message = QStringLiteral("申込の行がありません。");
    return out;
}

EntryImport EntryImport::readFile(const QString &path, const Contest &contest)
{
    // Only a regular file of a size a real one can have: never a device or a pipe.
    EntryImport refused;
    const auto bytes = readInputFile(path, 4 * 1024 * 1024, refused.message);
    if (!bytes)
        return refused;
    return parse(*bytes, contest);
}

EntryImportOutcome importEntries(Contest &contest, const QString &path)
{
    EntryImportOutcome out;
    EntryRegistration reg(contest);
    if (const QString why = reg.closedReason(); !why.isEmpty()) {
        out.refusal = why;
        return out;
    }
    out.read = EntryImport::readFile(path, contest);
    if (!out.read.message.isEmpty()) {
        out.refusal = out.read.message;
        return out;
    }
    out.firstId = contest.participantCount() + 100;
    if (!reg.addAll(out.read.forms))
        out.refusal = EntryRegistration::fullMessage();
    return out;
}

} // namespace kc
