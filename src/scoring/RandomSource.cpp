#include "scoring/RandomSource.h"

#include <QDateTime>

namespace kc {

double SeededRandom::next()
{
    // 53 random bits: never 1.0, so a draw scaled by n stays below n.
    return double(m_engine() >> 11) * (1.0 / 9007199254740992.0);
}

ClockRandom::ClockRandom() : SeededRandom(quint64(QDateTime::currentMSecsSinceEpoch())) { }

} // namespace kc
