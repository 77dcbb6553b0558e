#include "core/exercise/ScoredAbnormalCell.h"

namespace queldo {

ScoredAbnormalCell scoredAbnormalCellOf(const BoardState &board, const CellKey &cell,
                                        const CellScore &score, const Karyotype &karyotype)
{
    ScoredAbnormalCell attempt;
    attempt.score = score;
    attempt.slotContents = board.SlotContents;
    attempt.rotationSteps = board.RotationStep;
    attempt.cell = cell;
    attempt.karyotype = karyotype;
    return attempt;
}

} // namespace queldo
