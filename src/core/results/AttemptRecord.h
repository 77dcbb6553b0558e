#pragma once

#include "core/board/BoardState.h"
#include "core/results/ResultsFile.h"

#include <QString>
#include <QStringList>

#include <array>

namespace queldo {

/// What saving a first scoring did to the two files.
struct SavedAttempt
{
    AppendResult record;
    /// Why the arrangement was not kept; empty when it was, or when the record itself was not
    /// saved (the arrangement is then not written either).
    QString arrangementError;
    /// Notes beside either file that did not belong to it and were moved aside: said once.
    QStringList rejectedNotes;
};

/// Saves the first scoring of a problem: the record into the results file and, only once that
/// is saved, the board's arrangement with the same number, date and problem number. The
/// arrangement is an extra: a failure there leaves the record as it is.
SavedAttempt saveAttempt(const QString &resultsPath, const QString &arrangementPath,
                         const QString &dateText, int problemNumber, const SlotCodes &codes,
                         int elapsedSeconds, const BoardState &board);

} // namespace queldo
