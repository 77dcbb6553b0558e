#pragma once

#include "core/results/UnsavedAttempts.h"

#include <QString>

#include <vector>

class QWidget;

namespace queldo {

class TraineeSession;

/// Saving the exercise window's first scorings, and what the trainee is told about it: a save
/// that fails keeps its attempt and offers to try again; leaving with an attempt unsaved asks
/// first; a read-only session records nothing and says why.
class AttemptSaving
{
public:
    AttemptSaving(QWidget *window, const QString &resultsPath, const QString &arrangementPath);

    void setSession(const TraineeSession *session) { m_session = session; }
    bool writable() const;

    /// The first scoring of a problem.
    void saveFirstScoring(const AttemptToSave &attempt);
    /// A later press of 採点: whatever is waiting is tried again, and only then told about.
    void retryWaiting();
    /// Before the exercise or the program ends: true when nothing is lost by going on, or the
    /// trainee chose to lose it. leaveCaption names the button that loses it.
    bool mayLeave(const QString &leaveCaption);

    const UnsavedAttempts &unsaved() const { return m_unsaved; }

private:
    /// Tells what a round did; true when the trainee asked to try again.
    bool report(const SaveRound &round);
    void showWarning(const QString &text) const;

    QWidget *m_window;
    UnsavedAttempts m_unsaved;
    const TraineeSession *m_session = nullptr;
    std::vector<qsizetype> m_reportedDamage; ///< damaged results lines already shown
};

} // namespace queldo
