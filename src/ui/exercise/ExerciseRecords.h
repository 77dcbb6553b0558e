#pragma once

#include "core/app/UserFiles.h"

#include <QString>

#include <memory>

class QWidget;

namespace queldo {

class AttemptSaving;
class ExerciseWindowPlacement;
class TraineeSession;

/// What the exercise window keeps for its trainee beside the board: the scorings saved or
/// waiting to be, and the window's place, remembered beside the trainee's other files. A
/// read-only session keeps neither.
class ExerciseRecords
{
public:
    ExerciseRecords(QWidget *window, UserFiles files);
    ~ExerciseRecords();

    AttemptSaving &saving() { return *m_saving; }
    void setSession(const TraineeSession *session);

    /// Where the trainee last left the window, when that is still on a screen.
    void restorePlacement();
    /// Before the window closes: false when the trainee chose to stay for an unsaved attempt;
    /// otherwise the window's place is remembered.
    bool mayClose();

private:
    UserFiles m_files;
    std::unique_ptr<AttemptSaving> m_saving;
    ExerciseWindowPlacement *m_placement;
};

} // namespace queldo
