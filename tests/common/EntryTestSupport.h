#pragma once

#include "TestSupport.h"
#include "entries/EntryForm.h"
#include "store/Contest.h"

#include <QStringList>
#include <vector>

namespace kc::test {

// A contest whose rules are decided (phase 1) with the first-run rules:
// 7 picks, a reserve, no yokozuna or ōzeki, default roster of 40.
Contest &openDecidedContest(TempContest &tc);

// A form with a ring name, the given picks (wrestler numbers) and reserve.
EntryForm formWith(const QString &shikona, const QStringList &picks, const QString &reserve);
// A valid form: picks 20 + seed .. 26 + seed, reserve 30 + seed (seed 0..9).
EntryForm validForm(const QString &shikona, int seed = 0);

// Entry.Dat, the entry array and entry00 (in ID order) say the same.
void expectMirror(Contest &contest);

// Writes `count` 752-byte records named 参加者1.. into a file.
void writeEntryFile(const QString &path, int count, const QString &prefix);

} // namespace kc::test
