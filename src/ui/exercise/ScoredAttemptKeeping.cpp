#include "ui/exercise/ScoredAttemptKeeping.h"

#include "core/results/ArrangementFile.h"
#include "ui/board/BoardView.h"
#include "ui/exercise/AttemptSaving.h"

namespace queldo {

std::optional<ScoredAbnormalCell> keepScoredAttempt(AttemptSaving &saving, FlowEffect effect,
                                                    const BoardView &board, const CellScore &score,
                                                    const ScoringMoment &moment)
{
    if (effect == FlowEffect::Correction)
        saving.retryWaiting();
    if (effect != FlowEffect::RecordAttempt)
        return std::nullopt;
    if (const std::optional<Karyotype> &karyotype = board.problem().karyotype) {
        ScoredAbnormalCell cell =
            scoredAbnormalCellOf(board.board(), board.cellKey(), score, *karyotype);
        cell.problemName = moment.problemName;
        cell.problemNumber = moment.problemNumber;
        cell.date = moment.date;
        cell.elapsedSeconds = moment.elapsedSeconds;
        return cell;
    }
    saving.saveFirstScoring({moment.date, moment.problemNumber, score.normalCodes(),
                             moment.elapsedSeconds, ArrangementFile::arrangementOf(board.board())});
    return std::nullopt;
}

} // namespace queldo
