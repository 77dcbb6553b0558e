#include "core/results/AttemptRecord.h"

#include "core/results/ArrangementFile.h"

namespace queldo {

SavedAttempt saveAttempt(const QString &resultsPath, const QString &arrangementPath,
                         const QString &dateText, int problemNumber,
                         const std::array<int, 46> &codes, int elapsedSeconds,
                         const BoardState &board)
{
    SavedAttempt saved;
    saved.record =
        ResultsFile::appendRecord(resultsPath, dateText, problemNumber, codes, elapsedSeconds);
    if (!saved.record.saved())
        return saved;
    ArrangementLine line;
    line.recordNumber = saved.record.recordNumber;
    line.date = dateText;
    line.problemNumber = problemNumber;
    line.places = ArrangementFile::arrangementOf(board);
    saved.arrangementError = ArrangementFile::append(arrangementPath, line);
    return saved;
}

} // namespace queldo
