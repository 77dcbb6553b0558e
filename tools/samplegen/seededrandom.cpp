#include "seededrandom.h"

#include <cmath>

namespace {

quint64 splitMix(quint64 &state)
{
    quint64 z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

quint64 SeededRandom::derive(quint64 base, quint64 index)
{
    quint64 state = base ^ (0xd1b54a32d192ed03ULL * (index + 1));
    splitMix(state);
    return splitMix(state);
}

quint64 SeededRandom::nextBits()
{
    return splitMix(m_state);
}

double SeededRandom::uniform()
{
    return double(nextBits() >> 11) * 0x1.0p-53;
}

double SeededRandom::normal()
{
    const double u = 1.0 - uniform(); // (0, 1]
    const double v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * M_PI * v);
}
