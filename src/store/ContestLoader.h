#pragma once

#include "store/Contest.h"

#include <QStringList>

namespace kc {

// What start-up and reload read from a contest's folder, and what the
// organiser is to be told about it.
struct LoadedContest
{
    ContestState state;
    QStringList notes;
};

// Reads every file of an open contest: roster, rules and daily records,
// wrestler results, entries. On the way it writes the first run's files,
// converts an older Entry.Dat and, after asking, repairs Entry.Dat and entry00
// where they disagree, each in a unit of work; the contest's own state is left
// as it was. Throws StoreError.
class ContestLoader
{
public:
    explicit ContestLoader(Contest &contest);

    LoadedContest load();

    // Default roster, Banzuke.Dat, initial names, Rename.Dat (no results).
    Roster readRoster() const;
    static std::vector<RenameRecord> readRenames(const Paths &paths, const FileStore &files);
    // Record.Dat as stored, or the first-run values when it is missing.
    static DailyRecords readDaily(const Paths &paths, const FileStore &files);

private:
    void loadRulesAndDaily();
    void loadWrestlerResults();
    void loadEntries();
    void validateRules(const RulesRecord &r) const;
    EntryRecord entryFromRow(RecordSet &rs) const;

    Contest &m_contest;
    const Paths &m_paths;
    FileStore &m_files;
    Database &m_db;
    ContestState m_state;
    QStringList m_notes;
};

// Opens the contest's database at `path`. One that is not a database, or whose
// tables are unusable, is set aside under a new name and a new one is made (the
// entries come back from Entry.Dat); what start-up is to say about it is
// returned. A link, an unreadable file, a busy or full disk: StoreError and
// nothing changed.
QStringList openContestDatabase(Database &db, const QString &path);

// What is wrong with the wrestler numbers of a record (empty when nothing),
// against a roster of `wrestlerCount` (any slot when negative); a number
// outside every slot is set to the empty slot.
QString entryProblem(EntryRecord &e, int wrestlerCount);

// Every wrestler number of an entry is a roster slot below `wrestlerCount`
// (any slot when it is negative) or the empty slot; otherwise a StoreError
// naming the record of `path`.
void checkEntryWrestlers(const EntryRecord &e, int recordNumber, const QString &path,
                         int wrestlerCount);

} // namespace kc
