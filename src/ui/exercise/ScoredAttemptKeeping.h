#pragma once

#include "core/exercise/ExerciseFlow.h"
#include "core/exercise/ScoredAbnormalCell.h"

#include <QString>

#include <optional>

namespace queldo {

class AttemptSaving;
class BoardView;

/// When and on what a press of 採点 happened, as its record names it.
struct ScoringMoment
{
    QString problemName;
    int problemNumber = 0; ///< as the number list shows it
    QString date;          ///< as the results file writes dates
    int elapsedSeconds = 0;
};

/// Keeps what a press of 採点 leaves to keep, as the flow's effect says. A first scoring of a
/// normal cell is saved in the results and arrangement files. An abnormal cell never goes there
/// (their readers know only cells of 46 places and would take its verdicts for a normal
/// attempt): it is returned, for its karyotype question. A correction only retries a save still
/// waiting.
std::optional<ScoredAbnormalCell> keepScoredAttempt(AttemptSaving &saving, FlowEffect effect,
                                                    const BoardView &board, const CellScore &score,
                                                    const ScoringMoment &moment);

} // namespace queldo
