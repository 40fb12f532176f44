#include "banzuke/Renaming.h"

#include "store/Contest.h"
#include "store/EntryTable.h"
#include "store/RecordFile.h"
#include "store/Roster.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

#include <QFileInfo>

namespace kc::renaming {

namespace {

constexpr int kNameBytes = 10;

std::array<QString, kRosterSlots> currentNames(const Roster &roster)
{
    std::array<QString, kRosterSlots> out;
    for (int i = 0; i < kRosterSlots; ++i)
        out[i] = roster.wrestlers[i].name;
    return out;
}

Roster renamed(const Roster &roster, const std::vector<RenameRecord> &list)
{
    Roster next = roster;
    for (int i = 0; i < kRosterSlots; ++i)
        next.wrestlers[i].name = next.initialNames[i];
    next.applyRenames(list);
    return next;
}

void writeWrestlers(Contest &contest, const Roster &roster)
{
    const int n = std::clamp(roster.wrestlerCount, 0, kRosterSlots);
    recordfile::writeAll<WrestlerRecord>(
        contest.files(), contest.paths().rikishi,
        std::vector<WrestlerRecord>(roster.wrestlers.begin(), roster.wrestlers.begin() + n));
}

void rewriteEntryNames(Contest &contest, const Roster &roster, bool allColumns)
{
    Database &db = contest.database();
    Transaction tx(db);
    RecordSet rs(db, entrytable::name);
    const auto &entries = contest.entries();
    const int picks
        = allColumns ? kMaxPicks : std::clamp<int>(contest.rules().pickCount, 0, kMaxPicks);
    const bool reserve = allColumns || contest.rules().reserveInUse();
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int n = rs.intValue(entrytable::column::id) - 100;
        if (n < 0 || n >= int(entries.size()))
            continue;
        const EntryRecord &e = entries[n];
        entrytable::writePicks(rs, e, roster, picks, reserve);
        rs.update();
    }
    tx.commit();
}

} // namespace

const QString &referenceQuestion()
{
    static const QString s = QStringLiteral("力士名変換ﾃｰﾌﾞﾙのﾃﾞｰﾀを参照いたします。");
    return s;
}

const QString &killQuestion()
{
    static const QString s = QStringLiteral("力士名変換ﾌｧｲﾙを削除します。よろしいですか。");
    return s;
}

std::vector<RenameRecord> readList(const Contest &contest)
{
    std::vector<RenameRecord> list = contest.readRenames();
    list.resize(kListSize);
    return list;
}

RenameForm formFor(const Contest &contest)
{
    const Roster &roster = contest.roster();
    RenameForm form;
    for (int b = 0; b < kRosterSlots; ++b) {
        form.labels[b] = QStringLiteral("%1:%2").arg(b + 10).arg(roster.wrestlers[b].name);
        form.names[b] = roster.wrestlers[b].name;
    }
    if (!contest.files().exists(contest.paths().rename))
        return form;
    const std::vector<RenameRecord> list = readList(contest);
    for (int b = 0; b < kRosterSlots; ++b) {
        if (roster.wrestlers[b].name.trimmed().isEmpty())
            break;
        QString key = roster.initialNames[b].trimmed();
        if (key.isEmpty())
            key = roster.wrestlers[b].name.trimmed();
        for (const RenameRecord &r : list) {
            const QString old = r.oldName.trimmed();
            if (old.isEmpty())
                break;
            if (old == key) {
                form.names[b] = r.newName;
                break;
            }
        }
    }
    return form;
}

ListUpdate updatedList(const std::vector<RenameRecord> &list,
                       const std::array<QString, kRosterSlots> &banzukeNames,
                       const std::array<QString, kRosterSlots> &current,
                       const std::array<QString, kRosterSlots> &typed)
{
    ListUpdate out;
    out.list = list;
    out.list.resize(kListSize);
    for (int a = 0; a < kRosterSlots; ++a) {
        const QString now = current[a].trimmed();
        if (now.isEmpty())
            break;
        const QString wanted = typed[a].trimmed();
        // An empty name would end every later lookup at this wrestler.
        if (wanted.isEmpty()) {
            out.refusal = QStringLiteral("%1番（%2）の力士名が空です。").arg(a + 10).arg(now);
            return out;
        }
        if (const auto problem = textProblem(wanted, QStringLiteral("%1番の力士名").arg(a + 10))) {
            out.refusal = *problem;
            return out;
        }
        if (toCp932(wanted).size() > kNameBytes) {
            out.refusal
                = QStringLiteral("%1番の力士名「%2」が長すぎます（全角5文字、半角10文字まで）。")
                      .arg(a + 10)
                      .arg(quotedInput(wanted));
            return out;
        }
        // Day files and the entry table find wrestlers by name: one name, one wrestler.
        for (int b = 0; b < kRosterSlots && wanted != now; ++b)
            if (b != a && !current[b].trimmed().isEmpty() && typed[b].trimmed() == wanted) {
                out.refusal = QStringLiteral("%1番の力士名「%2」は%3番の力士と重なっています。")
                                  .arg(a + 10)
                                  .arg(wanted)
                                  .arg(b + 10);
                return out;
            }
        QString key = banzukeNames[a].trimmed();
        if (key.isEmpty())
            key = now;
        bool placed = false;
        for (int i = 0; i < kUsable; ++i) {
            RenameRecord &r = out.list[i];
            const QString old = r.oldName.trimmed();
            if (old.isEmpty()) {
                r.oldName = key;
                r.newName = wanted;
                placed = true;
                break;
            }
            if (old == key) {
                r.newName = wanted;
                placed = true;
                break;
            }
        }
        // A full list must not swallow a rename silently.
        if (!placed && wanted != now) {
            out.refusal
                = QStringLiteral("力士名変換ﾃｰﾌﾞﾙが一杯です（%1件）。「%2」を「%3」に"
                                 "変更できません。力士名ﾌｧｲﾙを削除してから変更してください。")
                      .arg(kUsable)
                      .arg(now, wanted);
            return out;
        }
    }
    return out;
}

void reapplyToRoster(Contest &contest, const std::vector<RenameRecord> &list)
{
    contest.roster() = renamed(contest.roster(), list);
}

void rewriteEntryTableNames(Contest &contest, bool allColumns)
{
    rewriteEntryNames(contest, contest.roster(), allColumns);
    contest.reopenEntryTable();
}

RenameSession::RenameSession(Contest &contest) : m_contest(contest), m_form(formFor(contest)) { }

std::optional<QString> RenameSession::save(const std::array<QString, kRosterSlots> &typed)
{
    const Roster &roster = m_contest.roster();
    const ListUpdate update
        = updatedList(readList(m_contest), roster.initialNames, currentNames(roster), typed);
    if (!update.refusal.isEmpty())
        return update.refusal;
    UnitOfWork work(m_contest);
    m_contest.roster() = renamed(roster, update.list);
    recordfile::writeAll<RenameRecord>(m_contest.files(), m_contest.paths().rename, update.list);
    if (m_contest.files().exists(m_contest.paths().rikishi))
        writeWrestlers(m_contest, m_contest.roster());
    rewriteEntryNames(m_contest, m_contest.roster(), false);
    work.commit();
    m_contest.reopenEntryTable();
    m_namesChanged = true;
    return std::nullopt;
}

bool runRename(Contest &contest, const std::function<void(RenameSession &)> &edit)
{
    if (!contest.prompter().ask({referenceQuestion(), QString(), Icon::Question, false}))
        return false;
    RenameSession session(contest);
    edit(session);
    // The session already brought the roster, Rikishi.Dat and the entry table
    // up to date when it saved.
    return session.namesChanged();
}

bool killList(Contest &contest)
{
    if (!contest.prompter().ask({killQuestion(), QString(), Icon::Question, false}))
        return false;
    const Paths &p = contest.paths();
    UnitOfWork work(contest);
    contest.files().remove(p.rename);
    // Start-up takes the names from Rikishi.Dat when it exists; without this
    // the renamed names would come back after the next start.
    if (contest.files().exists(p.rikishi)) {
        Roster banzukeNames = contest.roster();
        for (int i = 0; i < kRosterSlots; ++i)
            banzukeNames.wrestlers[i].name = banzukeNames.initialNames[i];
        writeWrestlers(contest, banzukeNames);
    }
    work.commit();
    return true;
}

void reloadKeepingResults(Contest &contest)
{
    const Roster before = contest.roster();
    contest.loadRoster();
    Roster &roster = contest.roster();
    const int n = std::min(std::clamp(before.wrestlerCount, 0, kRosterSlots),
                           std::clamp(roster.wrestlerCount, 0, kRosterSlots));
    for (int i = 0; i < n; ++i)
        roster.wrestlers[i].dayResult = before.wrestlers[i].dayResult;
}

bool recoverDefaultNames(Contest &contest)
{
    const Paths &p = contest.paths();
    UnitOfWork work(contest);
    Roster &roster = contest.roster();
    const Roster before = roster;
    const int keptCount = std::clamp(before.wrestlerCount, 0, kRosterSlots);

    // With Banzuke.Dat and Rename.Dat gone a roster load installs the default.
    Roster next;
    next.installDefault();
    next.takeInitialNames();
    // It replaces the banzuke itself, so the organiser hears what goes first.
    QString text = QStringLiteral("既定の番付（%1、%2名）を登録します。現在の番付（%3、%4名）の"
                                  "番付ファイル %5 と力士名変換ファイル %6 は削除されます。")
                       .arg(next.bashoName)
                       .arg(next.wrestlerCount)
                       .arg(roster.bashoName)
                       .arg(roster.wrestlerCount)
                       .arg(QFileInfo(p.banzuke).fileName(), QFileInfo(p.rename).fileName());
    if (contest.participantCount() > 0)
        text += QStringLiteral("参加者 %1 名の選択力士は番号のまま既定の番付の力士になります。")
                    .arg(contest.participantCount());
    text += QStringLiteral("よろしいですか。");
    if (!contest.prompter().ask(
            {text, QStringLiteral("力士名を初期力士名に変更する"), Icon::Warning, true}))
        return false;
    roster = next;
    const int count = std::clamp(roster.wrestlerCount, 0, kRosterSlots);
    for (int i = 0; i < count && i < keptCount; ++i)
        roster.wrestlers[i].dayResult = before.wrestlers[i].dayResult;

    contest.files().remove(p.banzuke);
    contest.files().remove(p.rename);
    // Rikishi.Dat supplies names at start-up; keep it in step with the
    // recovered names so they survive a restart (results as kept).
    if (contest.files().exists(p.rikishi))
        writeWrestlers(contest, roster);
    rewriteEntryNames(contest, roster, true);
    work.commit();
    contest.reopenEntryTable();
    return true;
}

} // namespace kc::renaming
