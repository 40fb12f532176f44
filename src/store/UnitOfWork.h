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
// Without commit() (an exception, an early return) the database changes are
// rolled back and the staged files are dropped.
class UnitOfWork
{
public:
    explicit UnitOfWork(Contest &contest);
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork &) = delete;
    UnitOfWork &operator=(const UnitOfWork &) = delete;

    void commit();

private:
    Contest &m_contest;
    bool m_done = false;
};

} // namespace kc
