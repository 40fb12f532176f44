#include "scoring/ProgressCounter.h"

#include "store/Prompter.h"

namespace kc {

void ProgressCounter::begin(int total)
{
    m_base = 0;
    m_total = total;
    if (m_prompter)
        m_prompter->beginProgress(total, QString());
}

void ProgressCounter::advance(int rowCounter)
{
    if (m_prompter)
        m_prompter->advanceProgress(m_base + rowCounter);
}

void ProgressCounter::end()
{
    if (m_prompter)
        m_prompter->endProgress();
}

} // namespace kc
