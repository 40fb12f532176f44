#include "scoring/RandomSource.h"

#include <QDateTime>

namespace kc {

double SeededRandom::next()
{
    // 53 random bits: never 1.0, so a draw scaled by n stays below n.
    return double(m_engine() >> 11) * (1.0 / 9007199254740992.0);
}

namespace {

// KC_RANDOM_SEED fixes the draws so that two builds can be compared run for run.
quint64 clockSeed()
{
    bool ok = false;
    const quint64 fixed = qEnvironmentVariable("KC_RANDOM_SEED").toULongLong(&ok);
    return ok ? fixed : quint64(QDateTime::currentMSecsSinceEpoch());
}

} // namespace

ClockRandom::ClockRandom() : SeededRandom(clockSeed()) { }

} // namespace kc
