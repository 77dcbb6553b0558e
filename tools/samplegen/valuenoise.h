#pragma once

#include <QtGlobal>

// Smooth random variation for blotches and ragged outlines: random values on
// an integer lattice, blended in between. Pure functions of position and
// seed, so any pixel can be evaluated on its own and in any order.
namespace ValueNoise {

double smoothStep(double x);
double lattice(qint64 i, qint64 j, quint64 seed); // in [-1, 1)
double along(double x, qint64 channel, quint64 seed);
double plane(double x, double y, quint64 seed);

} // namespace ValueNoise
