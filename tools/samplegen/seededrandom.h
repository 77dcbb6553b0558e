#pragma once

#include <QtGlobal>

// A small generator whose sequence is fixed by its seed on every platform and
// standard library (the std:: distributions are not), so that a seed always
// reproduces the same pictures byte for byte.
class SeededRandom
{
public:
    explicit SeededRandom(quint64 seed) : m_state(seed) {}

    // A seed for the index-th child of base; children do not depend on each
    // other, so any one of them can be regenerated alone.
    static quint64 derive(quint64 base, quint64 index);

    quint64 nextBits();
    double uniform(); // [0, 1)
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    double symmetric(double amplitude) { return uniform(-amplitude, amplitude); }
    double normal();

private:
    quint64 m_state;
};
