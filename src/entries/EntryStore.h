#pragma once

#include "entries/EntryForm.h"
#include "store/Records.h"

#include <array>

namespace kc {

struct Roster;
class RecordSet;

// The reserve chain: the reserve, then the next nine wrestlers below it that
// are not among the picks, wrapping past the last wrestler to the first one
// below the ōzeki. The scan that skips picks resumes at pick slot 1 after a
// match, and runs twice so that the second pass catches what the first missed.
std::array<qint16, kMaxPicks>
reserveChain(int reserveSlot, const std::array<qint16, kMaxPicks> &picks, const Roster &roster);

// StoreEntry: a cleared entry filled from a validated form (picks, entered
// picks and, when the rules use one, the reserve chain).
EntryRecord storeEntry(const EntryForm &form, const RulesRecord &rules, const Roster &roster);

// WriteEntryRow: fills the current (new) row of entry00 from element k.
void writeEntryRow(RecordSet &rs, const EntryRecord &entry, int k, const Roster &roster);

// The name a row shows for a stored wrestler: at most 10 characters, trimmed.
QString rowWrestlerName(const Roster &roster, int slot);

} // namespace kc
