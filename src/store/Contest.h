#pragma once

#include "store/Database.h"
#include "store/FileStore.h"
#include "store/Journal.h"
#include "store/LegacyEntries.h"
#include "store/Paths.h"
#include "store/Prompter.h"
#include "store/RecordSet.h"
#include "store/Records.h"
#include "store/Roster.h"

#include <QLockFile>
#include <functional>
#include <memory>
#include <vector>

namespace kc {

// What an action may change in memory; a unit of work keeps a copy and puts
// it back when the action fails.
struct ContestState
{
    RulesRecord rules;
    DailyRecords daily;
    Roster roster;
    std::vector<EntryRecord> entries;
};

// One contest: its folder, files, database and every piece of state the
// windows and commands work on. Nothing here is global, so tests can open many.
//
// Actions that write several files and/or the database run in a UnitOfWork.
// When one fails part way (a StoreError), the unit puts the disk and the state
// held here back as they were before the action.
class Contest
{
public:
    // files: the disk layer (tests pass one that fails); files() hands out
    // the journal in front of it.
    explicit Contest(const QString &rootDir, Prompter &prompter,
                     std::unique_ptr<FileStore> files = nullptr);
    ~Contest();
    Contest(const Contest &) = delete;
    Contest &operator=(const Contest &) = delete;

    // Start-up: lock the folder, open the database, finish or undo an action
    // a stopped process left half done, load or create every file, convert
    // older entry files, check the mirror. `repairs` runs last, before the
    // organiser is told: the mends of the areas above the store (the prize
    // table), whose notes join the start-up message. Throws StoreError.
    using StartupRepairs = std::function<QStringList(Contest &)>;
    void open(const StartupRepairs &repairs = {});
    // Reads everything again from the disk (finishing a committed action whose
    // files are not all in place yet), after a failed action. Throws StoreError.
    void reload();
    bool isOpen() const { return m_open; }
    // Shutdown: cmdEND saves Credit.Dat first (saveRules = true), mmEnd does not.
    void close(bool saveRules);

    const Paths &paths() const { return m_paths; }
    FileStore &files() { return *m_files; }
    const FileStore &files() const { return *m_files; }
    Journal &journal() { return *m_files; }
    Prompter &prompter() { return *m_prompter; }
    void setPrompter(Prompter &p) { m_prompter = &p; }
    Database &database() { return m_db; }
    // The entry recordset (entry00), open for the life of the contest.
    RecordSet &entryTable() { return *m_entryTable; }

    RulesRecord &rules() { return m_rules; }
    const RulesRecord &rules() const { return m_rules; }
    DailyRecords &daily() { return m_daily; }
    const DailyRecords &daily() const { return m_daily; }
    Roster &roster() { return m_roster; }
    const Roster &roster() const { return m_roster; }
    // Entry array: element k is ID 100 + k, Entry.Dat record k + 1.
    std::vector<EntryRecord> &entries() { return m_entries; }
    const std::vector<EntryRecord> &entries() const { return m_entries; }
    int participantCount() const { return int(m_entries.size()); }

    ContestState state() const { return {m_rules, m_daily, m_roster, m_entries}; }
    // Puts the state back and reads the entry table again.
    void restore(ContestState state);

    // Whole-file saves of the in-memory state (each atomic).
    void saveRules(); // Credit.Dat record 1
    void saveDaily(); // Record.Dat record 1
    void saveEntries(); // Entry.Dat records 1..count
    void saveEntryRecord(int k); // Entry.Dat record k + 1 (element k)
    void saveWrestlers(); // Rikishi.Dat records 1..wrestlerCount
    void loadDaily();
    // Record.Dat as stored, or the first-run values when it is missing.
    DailyRecords readDaily() const;

    // Roster load: default, Banzuke.Dat, initial names, Rename.Dat.
    void loadRoster();
    std::vector<RenameRecord> readRenames() const;

    // Re-opens the entry recordset (after bulk changes).
    void reopenEntryTable();
    // Rebuilds entry00 from the entry array; one transaction.
    void rebuildEntryTable();

    // Converts Entry.Dat (and Ranking.Dat, Entry.Bak) from the 342-byte layout;
    // one unit of work.
    void convertLegacyEntries();
    // Records_Init: the tournament records reset and saved.
    void resetDailyRecords();
    // 初期化: asks first; false when answered No. One unit of work.
    bool reset();

    // The message shown when start-up had to repair something (empty otherwise).
    const QStringList &startupNotes() const { return m_startupNotes; }

private:
    void lockFolder();
    // Clears what stands in the lock's place without being a running copy's lock.
    void clearForeignLock();
    void removeLeftovers();
    void recoverJournal(bool atStartUp);
    // The loader's state taken over, its notes added to the start-up message.
    void loadAll();
    void tellStartupNotes();

    Paths m_paths;
    Prompter *m_prompter;
    std::unique_ptr<FileStore> m_disk;
    std::unique_ptr<Journal> m_files; // in front of m_disk
    std::unique_ptr<QLockFile> m_lock;
    Database m_db;
    std::unique_ptr<RecordSet> m_entryTable;
    RulesRecord m_rules;
    DailyRecords m_daily;
    Roster m_roster;
    std::vector<EntryRecord> m_entries;
    QStringList m_startupNotes;
    bool m_open = false;
};

// Text for a contest-data problem that names the file.
QString badDataMessage(const QString &path, const QString &detail);

} // namespace kc
