#include "ui/exercise/ExerciseRecords.h"

#include "core/app/AppPaths.h"
#include "ui/exercise/AttemptSaving.h"
#include "ui/exercise/ExerciseWindowPlacement.h"

namespace queldo {

ExerciseRecords::ExerciseRecords(QWidget *window, const AppPaths &paths, const QString &userId)
    : m_paths(paths), m_userId(userId),
      m_saving(std::make_unique<AttemptSaving>(
          window, m_paths.relativeUserFile(m_userId, QStringLiteral(".kek")),
          m_paths.relativeUserFile(m_userId, QStringLiteral(".arr")))),
      m_placement(new ExerciseWindowPlacement(window))
{
}

ExerciseRecords::~ExerciseRecords() = default;

void ExerciseRecords::setSession(const TraineeSession *session)
{
    m_saving->setSession(session);
}

QString ExerciseRecords::placementFile() const
{
    return m_paths.relativeUserFile(m_userId, QStringLiteral(".win"));
}

void ExerciseRecords::restorePlacement()
{
    m_placement->restoreFrom(placementFile());
}

bool ExerciseRecords::mayClose()
{
    if (!m_saving->mayLeave(QStringLiteral("記録せずに終了")))
        return false;
    if (!m_userId.isEmpty() && m_saving->writable())
        m_placement->saveTo(placementFile());
    return true;
}

} // namespace queldo
