#include "store/UnitOfWork.h"

#include "store/Contest.h"

namespace kc {

UnitOfWork::UnitOfWork(Contest &contest) : m_contest(contest)
{
    m_joined = m_contest.journal().depth() > 0;
    m_contest.journal().begin();
    if (!m_joined)
        m_before = std::make_unique<ContestState>(m_contest.state());
}

UnitOfWork::~UnitOfWork()
{
    if (!m_done) {
        try {
            m_contest.journal().abandon();
        } catch (...) {
        }
        restore();
    }
}

void UnitOfWork::commit()
{
    if (m_done)
        return;
    m_done = true;
    try {
        m_contest.journal().commit();
    } catch (...) {
        restore();
        throw;
    }
}

void UnitOfWork::restore() noexcept
{
    // Past the commit point the action stands, in memory too.
    if (!m_before || m_contest.journal().interrupted())
        return;
    try {
        m_contest.restore(std::move(*m_before));
    } catch (...) {
        // The state is back; only the table could not be read again, which
        // the front end's reload() does.
    }
    m_before.reset();
}

} // namespace kc
