#pragma once

#include "core/board/BoardState.h"

#include <QRandomGenerator>

namespace queldo {

/// The window's random generator. A deal reseeds it from the millisecond tick count.
class SeededRandom : public PieceRandom
{
public:
    explicit SeededRandom(quint32 seed) : m_generator(seed) {}
    int bounded(int low, int high) override { return m_generator.bounded(low, high); }
    void reseedFromTicks() override;

private:
    QRandomGenerator m_generator;
};

} // namespace queldo
