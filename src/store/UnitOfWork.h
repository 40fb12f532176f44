#pragma once

namespace kc {

class Contest;

// Every action that writes several files and/or the database runs inside one
// unit of work: after a crash the next start-up finds the contest wholly
// before or wholly after the action.
//
//     UnitOfWork work(contest);
//     ... writes through contest.files() and contest.database() ...
//     work.commit();
//
// While the unit is open, writes through contest.files() are held back and
// reads see them; the database changes are one transaction. commit() makes
// both durable together (Journal). Without commit() (an exception, an early
// return) the database changes are rolled back and the staged files dropped;
// the Contest's in-memory state may then be ahead of the disk, so the front
// end calls Contest::reload() after a failed action.
//
// A unit opened inside another joins it: only the outermost commit writes,
// and an inner unit left without commit makes the outer commit throw.
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
    Contest &m_contest;
    bool m_done = false;
    bool m_joined = false;
};

} // namespace kc
