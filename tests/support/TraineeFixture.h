#pragma once

#include "core/app/TraineeLockFile.h"
#include "core/app/TraineeSession.h"

#include <memory>

namespace queldo::test {

/// The logged-in trainee as the windows are given it, without claiming the ID: no session file
/// is written, and the trainee's files may be written as by a program that holds it.
inline std::unique_ptr<TraineeSession> loggedInTrainee(const AppPaths &paths, const QString &id)
{
    return std::make_unique<TraineeSession>(UserFiles(paths, id), judgeForThisProgram());
}

} // namespace queldo::test
