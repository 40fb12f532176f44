#pragma once

#include <memory>

namespace kc {

class Contest;
struct ContestState;

// Every action that writes several files and/or the database runs inside one
// unit of work: after a crash the next start-up finds the contest wholly
// before or wholly after the action.
//
//     UnitOfWork work(contest);
//     ... changes to the contest, writes through contest.files() and
//     contest.database() ...
//     work.commit();
//
// While the unit is open, writes through contest.files() are held back and
// reads see them; the database changes are one transaction. commit() makes
// both durable together (Journal). Without commit() (an exception, an early
// return, a question answered No) the database changes are rolled back, the
// staged files dropped and the contest's rules, daily records, roster and
// entries put back as they were when the unit began: every action is all or
// nothing, on disk and in memory. A unit committed whose files are not all in
// place yet keeps its state (start-up or reload() finishes the files).
//
// A unit opened inside another joins it: only the outermost commit writes
// and only the outermost restores, and an inner unit left without commit makes
// the outer commit throw.
class UnitOfWork
{
public:
    explicit UnitOfWork(Contest &contest);
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork &) = delete;
    UnitOfWork &operator=(const UnitOfWork &) = delete;

    // Throws StoreError; the unit is over either way.
    void commit();
    // Whether this unit joined an outer one.
    bool joined() const { return m_joined; }

private:
    void restore() noexcept;

    Contest &m_contest;
    std::unique_ptr<ContestState> m_before; // outermost unit only
    bool m_done = false;
    bool m_joined = false;
};

} // namespace kc
