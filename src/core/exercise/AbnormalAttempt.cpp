#include "core/exercise/AbnormalAttempt.h"

namespace queldo {

AbnormalAttempt abnormalAttemptOf(const BoardState &board, const CellKey &cell,
                                  const CellScore &score, const Karyotype &karyotype)
{
    AbnormalAttempt attempt;
    attempt.score = score;
    attempt.slotContents = board.SlotContents;
    attempt.rotationSteps = board.RotationStep;
    attempt.cell = cell;
    attempt.karyotype = karyotype;
    return attempt;
}

} // namespace queldo
