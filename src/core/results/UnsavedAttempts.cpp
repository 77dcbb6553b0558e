#include "core/results/UnsavedAttempts.h"

#include "core/text/WriteLock.h"

#include <algorithm>

namespace queldo {

UnsavedAttempts::UnsavedAttempts(QString resultsPath, QString arrangementPath)
    : m_resultsPath(std::move(resultsPath)), m_arrangementPath(std::move(arrangementPath))
{
}

SaveRound UnsavedAttempts::save(const AttemptToSave &attempt)
{
    m_waiting.push_back(attempt);
    return retry();
}

SaveRound UnsavedAttempts::retry()
{
    SaveRound round;
    if (m_waiting.empty())
        return round;
    // One lock over both files, so that another writer's attempt never falls between a record
    // and its arrangement.
    const WriteLock lock(m_resultsPath);
    // Records keep the order they were scored in, and so do arrangement lines; but a results
    // file that takes records is not held up by an arrangement file that refuses lines.
    bool recordsStopped = false;
    bool arrangementsStopped = false;
    std::deque<AttemptToSave> stillWaiting;
    for (AttemptToSave &attempt : m_waiting) {
        if (!attempt.recordSaved()) {
            if (recordsStopped) {
                stillWaiting.push_back(attempt);
                continue;
            }
            const AppendResult saved =
                ResultsFile::appendRecord(m_resultsPath, attempt.dateText, attempt.problemNumber,
                                          attempt.codes, attempt.elapsedSeconds);
            if (!saved.rejectedNote.isEmpty())
                round.rejectedNotes << saved.rejectedNote;
            if (!saved.saved()) {
                recordsStopped = true;
                round.error = saved.error;
                stillWaiting.push_back(attempt);
                continue;
            }
            attempt.recordNumber = saved.recordNumber;
            ++round.recordsSaved;
            if (!saved.notice.isEmpty()) {
                round.notice = saved.notice;
                round.damagedLines = saved.damagedLines;
            }
        }
        if (arrangementsStopped) {
            stillWaiting.push_back(attempt);
            continue;
        }
        QString rejectedNote;
        const QString error = ArrangementFile::append(
            m_arrangementPath,
            {attempt.recordNumber, attempt.dateText, attempt.problemNumber, attempt.places},
            &rejectedNote);
        if (!rejectedNote.isEmpty())
            round.rejectedNotes << rejectedNote;
        if (!error.isEmpty()) {
            arrangementsStopped = true;
            round.arrangementError = error;
            stillWaiting.push_back(attempt);
        }
    }
    m_waiting = std::move(stillWaiting);
    return round;
}

int UnsavedAttempts::unsavedRecords() const
{
    return int(std::count_if(m_waiting.begin(), m_waiting.end(),
                             [](const AttemptToSave &a) { return !a.recordSaved(); }));
}

int UnsavedAttempts::unsavedArrangements() const
{
    return int(m_waiting.size()) - unsavedRecords();
}

QString UnsavedAttempts::leavingText() const
{
    if (const int records = unsavedRecords(); records > 0)
        return QStringLiteral("記録できていない採点が %1 件あります。\n"
                              "このまま終了すると、その成績は失われます。")
            .arg(records);
    if (const int arrangements = unsavedArrangements(); arrangements > 0)
        return QStringLiteral("成績は記録しましたが、%1 件の採点で解答の配置を記録できて"
                              "いません。\nこのまま終了すると、その配置は失われます。")
            .arg(arrangements);
    return {};
}

} // namespace queldo
