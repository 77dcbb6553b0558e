#include "valuenoise.h"

#include "seededrandom.h"

#include <algorithm>
#include <cmath>

double ValueNoise::smoothStep(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

double ValueNoise::lattice(qint64 i, qint64 j, quint64 seed)
{
    const quint64 bits = SeededRandom::derive(seed, (quint64(i) * 0x9E3779B1ULL) ^ quint64(j));
    return double(bits >> 11) * 0x1.0p-53 * 2.0 - 1.0;
}

double ValueNoise::along(double x, qint64 channel, quint64 seed)
{
    const double fx = std::floor(x);
    const qint64 i = qint64(fx);
    const double a = lattice(i, channel, seed);
    const double b = lattice(i + 1, channel, seed);
    return a + smoothStep(x - fx) * (b - a);
}

double ValueNoise::plane(double x, double y, quint64 seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const qint64 i = qint64(fx);
    const qint64 j = qint64(fy);
    const double u = smoothStep(x - fx);
    const double v = smoothStep(y - fy);
    const double top = lattice(i, j, seed) + u * (lattice(i + 1, j, seed) - lattice(i, j, seed));
    const double bottom =
        lattice(i, j + 1, seed) + u * (lattice(i + 1, j + 1, seed) - lattice(i, j + 1, seed));
    return top + v * (bottom - top);
}
