#pragma once

#include "banzuke/WrestlerNames.h"
#include "store/Records.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kc {

class Contest;

// Numbers of wrestlers per rank in registration order: 横綱, 大関, 関脇, 小結, 前頭.
struct RankCounts
{
    std::array<int, 5> n {};
    int total() const { return n[0] + n[1] + n[2] + n[3] + n[4]; }
    bool operator==(const RankCounts &) const = default;

    // Rank code of group g (4 for 横綱 … 0 for 前頭).
    static int codeOfGroup(int g) { return 4 - g; }
    // The numbers as typed into the five count boxes (Val, then CInt).
    static RankCounts fromTexts(const QStringList &texts);
    // Counts of a stored banzuke (slots 0..WrestlerCount-1).
    static RankCounts of(const BanzukeRecord &banzuke);
};

// The names step's rows: a label per row and, for each slot, its row, its
// side (east first) and the rank code it gets.
struct NamesPanelLayout
{
    std::array<QString, 22> labels; // empty on continuation rows
    int rows = 0;
    std::array<int, 5> groupRows {}; // rY, rO, rS, rK, rM
    int boxCount = 0; // slots 0..boxCount-1 get a box
    std::array<int, kRosterSlots> boxRow {};
    std::array<bool, kRosterSlots> boxEast {};
    std::array<qint16, kRosterSlots> rankCode {};
};

namespace registration {

const QString &saveQuestion(); // 番付をﾌｧｲﾙに登録します。
const QString &tooManyMessage(); // 登録できる力士数は42名までです。

// Refusal message for counts the names step cannot take, nullopt when they fit.
std::optional<QString> checkCounts(const RankCounts &counts);

// Rows, labels and box places for counts that passed checkCounts.
NamesPanelLayout layoutFor(const RankCounts &counts);

// The slot's rank codes of the record set from the counts (the names step does this).
void assignRankCodes(BanzukeRecord &record, const NamesPanelLayout &layout);

// The stored banzuke, nullopt when Banzuke.Dat does not exist. Throws StoreError.
std::optional<BanzukeRecord> readStored(const Contest &contest);

// Asks the save question; on Yes writes Banzuke.Dat (record 1) and reloads the
// roster. The record's count is set from `counts`. False when answered No.
bool save(Contest &contest, BanzukeRecord record, const RankCounts &counts);

// Registering a banzuke: save() and, with `english`, the table of Latin names
// that came with it (an empty one removes the table); one unit of work. False
// when the save question is answered No.
bool registerBanzuke(Contest &contest, const BanzukeRecord &record, const RankCounts &counts,
                     const EnglishNames *english);

} // namespace registration
} // namespace kc
