#pragma once

#include "entries/EntryForm.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kc {

struct Roster;
struct RulesRecord;

// The messages of the entry window's message line.
namespace entrymsg {
inline QString noShikona()
{
    return QStringLiteral("四股名がありません。");
}
inline QString noPick()
{
    return QStringLiteral("力士が選択されていません。");
}
inline QString duplicatePick()
{
    return QStringLiteral("力士が重複しています。");
}
inline QString noReserve()
{
    return QStringLiteral("予備力士が設定されていません。");
}
inline QString reserveIsPick()
{
    return QStringLiteral("予備力士が選択力士と重複しています。");
}
inline QString severalTopRanks()
{
    return QStringLiteral("大関、横綱は複数指定することはできません。");
}
inline QString noTopRanks()
{
    return QStringLiteral("今回のルールでは大関、横綱は指定できません。");
}
// A pick or reserve box that does not hold the number of a registered wrestler.
QString pickOutOfRoster(int wrestlerCount);
QString reserveOutOfRoster(int wrestlerCount);
inline QString reserveTopRank()
{
    return QStringLiteral("予備力士に大関、横綱は指定できません。");
}
} // namespace entrymsg

// The text boxes with the label their messages use and their field width in Entry.Dat.
struct EntryTextField
{
    QString EntryForm::*box;
    QString EntryRecord::*field;
    QString label;
    int width;
};
const std::array<EntryTextField, 7> &entryTextFields();
// The notices for the boxes whose text Entry.Dat will cut (empty when none).
QStringList entryCutNotices(const EntryForm &form);

// The box ValidateEntry colours yellow and focuses.
enum class EntryBox { None, Shikona, Pick, Reserve };

struct ValidationResult
{
    int result = 0; // 0 valid; 1 missing ring name or pick; 3 the others
    QString message;
    EntryBox box = EntryBox::None;
    int pickIndex = -1; // the pick box when box is Pick

    bool ok() const { return result == 0; }
    bool operator==(const ValidationResult &) const = default;
    static ValidationResult fail(int result, const QString &message, EntryBox box, int pick = -1)
    {
        return {result, message, box, pick};
    }
};

// ValidateEntry: the first failing check wins.
ValidationResult validateEntry(const EntryForm &form, const RulesRecord &rules,
                               const Roster &roster);

// The roster slot a box names when it holds a whole number 10 .. WrestlerCount + 9
// (blanks around it and full-width digits allowed); nullopt for anything else.
std::optional<int> rosterSlotOf(const QString &text, const Roster &roster);

// What Enter in a pick or reserve box does with its number.
enum class EnterOutcome {
    Ignored, // nothing happens (a reserve box with a number below 10)
    Rejected, // box and name emptied
    Accepted // name shown, focus moves on
};
struct EnterCheck
{
    EnterOutcome outcome = EnterOutcome::Rejected;
    int slot = -1;
    QString reason; // why a number was rejected, for the message line
};

// Enter in txRikishiNO(i): outside the roster, or an ōzeki or yokozuna when the
// rules allow none, is rejected.
EnterCheck checkPickEnter(const QString &text, const RulesRecord &rules, const Roster &roster);
// Enter in txYobi: a yokozuna or ōzeki is never a reserve, whatever the rules.
EnterCheck checkReserveEnter(const QString &text, const Roster &roster);

} // namespace kc
