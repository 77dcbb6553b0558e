#pragma once

#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <deque>
#include <vector>

namespace queldo {

/// Everything a first scoring records, taken when it was scored, so that saving it later
/// records the very attempt the trainee made, whatever the board shows by then.
struct AttemptToSave
{
    QString dateText;
    int problemNumber = 0;
    SlotCodes codes{};
    int elapsedSeconds = 0;
    Arrangement places{};
    /// Field 0 of its results line once that line is saved; -1 before.
    int recordNumber = -1;
    bool recordSaved() const { return recordNumber >= 0; }
};

/// What one round of saving did.
struct SaveRound
{
    /// Why the first attempt that could not be saved was not; empty when every attempt is saved.
    QString error;
    /// Why an arrangement could not be kept while its record was; empty otherwise.
    QString arrangementError;
    /// The results file was damaged before (said once per damage by the caller).
    QString notice;
    std::vector<qsizetype> damagedLines;
    /// Notes beside either file that did not belong to it and were moved aside: said once.
    QStringList rejectedNotes;
    int recordsSaved = 0;
};

/// The first scorings of this run that are not yet wholly in the trainee's files. A save that
/// fails (a full disk, a folder taken away for a moment) keeps its attempt here; the next save,
/// or a retry, writes what is still missing of each, in the order they were scored: a record
/// and its arrangement line once each, never twice.
class UnsavedAttempts
{
public:
    UnsavedAttempts(QString resultsPath, QString arrangementPath);

    /// Saves what is waiting, then `attempt`.
    SaveRound save(const AttemptToSave &attempt);
    /// Saves what is waiting.
    SaveRound retry();
    /// Gives up what is waiting.
    void discard() { m_waiting.clear(); }

    bool empty() const { return m_waiting.empty(); }
    /// Attempts whose record is not saved.
    int unsavedRecords() const;
    /// Attempts whose record is saved but whose arrangement is not.
    int unsavedArrangements() const;
    /// What leaving now would lose, for the question before the trainee leaves; empty when
    /// nothing.
    QString leavingText() const;

private:
    QString m_resultsPath;
    QString m_arrangementPath;
    std::deque<AttemptToSave> m_waiting;
};

} // namespace queldo
