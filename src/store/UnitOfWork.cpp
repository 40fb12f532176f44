#include "store/UnitOfWork.h"

#include "store/Contest.h"

namespace kc {

UnitOfWork::UnitOfWork(Contest &contest) : m_contest(contest)
{
    m_contest.database().begin();
}

UnitOfWork::~UnitOfWork()
{
    if (!m_done) {
        try {
            m_contest.database().rollback();
        } catch (...) {
        }
    }
}

void UnitOfWork::commit()
{
    m_contest.database().commit();
    m_done = true;
}

} // namespace kc
