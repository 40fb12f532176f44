#pragma once

#include "store/Records.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace kc {

class Contest;

// The rename list Rename.Dat: 200 records old name → new name, filled from the
// front; the first empty old name ends it. Only the first 100 are used.
namespace renaming {

constexpr int kListSize = 200;
constexpr int kUsable = 100;

const QString &referenceQuestion(); // 力士名変換ﾃｰﾌﾞﾙのﾃﾞｰﾀを参照いたします。
const QString &killQuestion(); // 力士名変換ﾌｧｲﾙを削除します。よろしいですか。

// Rename.Dat as 200 records (missing ones empty).
std::vector<RenameRecord> readList(const Contest &contest);

// What the rename window shows on opening: "10:name" labels and the box texts.
struct RenameForm
{
    std::array<QString, kRosterSlots> labels;
    std::array<QString, kRosterSlots> names;
};
RenameForm formFor(const Contest &contest);

// 登録終了 step 1: every listed wrestler gets an entry, unchanged names
// included; an existing entry for the wrestler is reused. Wrestlers are found
// by their banzuke name, so a wrestler renamed twice keeps one entry.
// nullopt plus the refusal when the list has no room for a changed name.
struct ListUpdate
{
    std::vector<RenameRecord> list;
    QString refusal; // empty when the list took every changed name
};
ListUpdate updatedList(const std::vector<RenameRecord> &list,
                       const std::array<QString, kRosterSlots> &banzukeNames,
                       const std::array<QString, kRosterSlots> &currentNames,
                       const std::array<QString, kRosterSlots> &typed);

// The roster's names: the banzuke names with the list applied.
void reapplyToRoster(Contest &contest, const std::vector<RenameRecord> &list);

// Sets the entry table's wrestler columns from the roster, one transaction:
// "力士1" onward for the pick count (all ten when `allColumns`), "予備力士"
// when reserves are used (always when `allColumns`). Re-opens the recordset.
void rewriteEntryTableNames(Contest &contest, bool allColumns);

// One run of the rename window: holds NamesChanged for the operation.
class RenameSession
{
public:
    explicit RenameSession(Contest &contest);

    Contest &contest() { return m_contest; }
    RenameForm form() const { return m_form; }

    // 登録終了 with the boxes' texts: Rename.Dat, the roster, Rikishi.Dat (when
    // present) and the entry table's wrestler columns, in one unit of work.
    // Returns the refusal message (shown through the prompter) or nothing.
    std::optional<QString> save(const std::array<QString, kRosterSlots> &typed);
    bool namesChanged() const { return m_namesChanged; }

private:
    Contest &m_contest;
    RenameForm m_form;
    bool m_namesChanged = false;
};

// The rename operation: asks the reference question, then lets `edit` run the
// window on a session. True when names were saved.
bool runRename(Contest &contest, const std::function<void(RenameSession &)> &edit);

// KillRename: asks, then deletes Rename.Dat. False when answered No.
bool killList(Contest &contest);

// The roster loaded again from Banzuke.Dat and Rename.Dat with the day results
// kept (a plain load zeroes them; 力士参照 reloads during the competition).
void reloadKeepingResults(Contest &contest);

// mmNameRecover: back to the default banzuke (Banzuke.Dat and Rename.Dat
// deleted), keeping every day result. Asks first, saying what goes; false
// when answered No.
bool recoverDefaultNames(Contest &contest);

} // namespace renaming
} // namespace kc
