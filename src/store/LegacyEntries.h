#pragma once

#include "store/Records.h"

#include <vector>

namespace kc {

class Contest;
struct Roster;

// Whether an Entry.Dat of `length` bytes holds `count` entries of the older
// 342-byte layout (within 19 bytes), and so is to be converted.
bool isLegacyEntryLength(qint64 length, int count);

// Converts Entry.Dat (and Ranking.Dat, Entry.Bak) from the 342-byte layout in
// one unit of work and returns the converted entries. Every record is checked
// against `roster` before anything is written, so a bad one leaves every file
// as it was. Throws StoreError.
std::vector<EntryRecord> convertLegacyEntries(Contest &contest, int pickCount,
                                              const Roster &roster);

} // namespace kc
