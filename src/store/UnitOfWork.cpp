#include "store/UnitOfWork.h"

#include "store/Contest.h"

namespace kc {

UnitOfWork::UnitOfWork(Contest &contest) : m_contest(contest)
{
    m_joined = m_contest.journal().depth() > 0;
    m_contest.journal().begin();
}

UnitOfWork::~UnitOfWork()
{
    if (!m_done) {
        try {
            m_contest.journal().abandon();
        } catch (...) {
        }
    }
}

void UnitOfWork::commit()
{
    if (m_done)
        return;
    m_done = true;
    m_contest.journal().commit();
}

} // namespace kc
