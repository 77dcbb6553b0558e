#include "ui/exercise/ExerciseRecords.h"

#include "ui/exercise/AttemptSaving.h"
#include "ui/exercise/ExerciseWindowPlacement.h"

#include <utility>

namespace queldo {

ExerciseRecords::ExerciseRecords(QWidget *window, UserFiles files)
    : m_files(std::move(files)),
      m_saving(std::make_unique<AttemptSaving>(window, m_files.relative(UserFile::Results),
                                               m_files.relative(UserFile::Arrangements))),
      m_placement(new ExerciseWindowPlacement(window))
{
}

ExerciseRecords::~ExerciseRecords() = default;

void ExerciseRecords::setSession(const TraineeSession *session)
{
    m_saving->setSession(session);
}

void ExerciseRecords::restorePlacement()
{
    m_placement->restoreFrom(m_files.relative(UserFile::WindowPlacement));
}

bool ExerciseRecords::mayClose()
{
    if (!m_saving->mayLeave(QStringLiteral("記録せずに終了")))
        return false;
    if (!m_files.id().isEmpty() && m_saving->writable())
        m_placement->saveTo(m_files.relative(UserFile::WindowPlacement));
    return true;
}

} // namespace queldo
