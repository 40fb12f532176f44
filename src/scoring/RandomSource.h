#pragma once

#include <QtGlobal>
#include <random>

namespace kc {

// Where the tie lottery and the mid-tournament lottery draw from. Tests and
// the benchmark pass a seeded or scripted source to fix the draws.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A uniform value in [0, 1).
    virtual double next() = 0;
};

// A Mersenne twister with a fixed seed.
class SeededRandom : public RandomSource
{
public:
    explicit SeededRandom(quint64 seed) : m_engine(seed) { }
    double next() override;

private:
    std::mt19937_64 m_engine;
};

// The default: seeded from the clock when constructed, or from KC_RANDOM_SEED
// when that is set (for comparing runs).
class ClockRandom : public SeededRandom
{
public:
    ClockRandom();
};

} // namespace kc
