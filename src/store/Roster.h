#pragma once

#include "store/Records.h"

#include <QString>
#include <array>
#include <vector>

namespace kc {

enum RankCode : qint16 { Maegashira = 0, Komusubi = 1, Sekiwake = 2, Ozeki = 3, Yokozuna = 4 };

// Rank name for a code ("横綱" … "前頭").
QString rankName(int code);

// Rows a rank group of n wrestlers takes: Int(n / 2 + 0.6).
int rowsForCount(int n);

// The wrestler roster of the current tournament: 44 slots, slot 43 never a wrestler.
struct Roster
{
    std::array<WrestlerRecord, kRosterSlots> wrestlers;
    std::array<QString, kRosterSlots> initialNames;
    int wrestlerCount = 0;
    QString bashoName;
    QString bashoCode;

    // The built-in banzuke of 平成14年　九月 (40 wrestlers).
    void installDefault();
    // Slots from a stored banzuke; all results 0.
    void loadBanzuke(const BanzukeRecord &banzuke);
    void takeInitialNames();
    // Renames by the list (entries 1..100, ending at the first empty old name).
    void applyRenames(const std::vector<RenameRecord> &renames);

    // The banzuke record the roster came from (names, ranks, count, tournament).
    BanzukeRecord toBanzuke() const;

    // Trimmed name of a slot, empty for 43 or anything out of range.
    QString name(int slot) const;
    // The displayed wrestler number (slot + 10).
    static int displayNumber(int slot) { return slot + 10; }

    int countOfRank(int code) const; // among slots 0..wrestlerCount-1
    int topRankCount() const; // yokozuna and ōzeki
    bool isTopRank(int slot) const; // rank code above 2
};

// East/west layout of the banzuke: positions 2r (east) and 2r+1 (west) of row r.
struct BanzukeLayout
{
    std::array<QString, kRosterSlots> names; // trimmed, empty where no wrestler
    std::array<int, kRosterSlots> numbers; // slot + 10, 999 where empty
    std::array<int, kRosterSlots> slotAt; // roster slot, -1 where empty
    std::array<QString, 22> labels; // row labels, empty on continuation rows
    int rows = 0;
    int rankRows[5] = {0, 0, 0, 0, 0}; // rows per rank code 4..0 as rY, rO, rS, rK, rM
    int positionOfSlot(int slot) const;
};

BanzukeLayout computeLayout(const Roster &roster);

} // namespace kc
