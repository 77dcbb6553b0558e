#include "core/results/AttemptRecord.h"

#include "core/results/ArrangementFile.h"
#include "core/text/WriteLock.h"

namespace queldo {

SavedAttempt saveAttempt(const QString &resultsPath, const QString &arrangementPath,
                         const QString &dateText, int problemNumber, const SlotCodes &codes,
                         int elapsedSeconds, const BoardState &board)
{
    SavedAttempt saved;
    // One lock over both files, so that another writer's attempt never falls between a record
    // and its arrangement.
    const WriteLock lock(resultsPath);
    saved.record =
        ResultsFile::appendRecord(resultsPath, dateText, problemNumber, codes, elapsedSeconds);
    if (!saved.record.saved())
        return saved;
    ArrangementLine line;
    line.recordNumber = saved.record.recordNumber;
    line.date = dateText;
    line.problemNumber = problemNumber;
    line.places = ArrangementFile::arrangementOf(board);
    QString rejectedNote;
    saved.arrangementError = ArrangementFile::append(arrangementPath, line, &rejectedNote);
    saved.rejectedNotes = QStringList{saved.record.rejectedNote, rejectedNote};
    saved.rejectedNotes.removeAll(QString());
    return saved;
}

} // namespace queldo
