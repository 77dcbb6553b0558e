#pragma once

#include "core/app/TraineeLock.h"

#include <QString>

#include <memory>

class QWidget;

namespace queldo {

class TraineeSession;
class UserFiles;

/// Takes the trainee for this program at login, telling the trainee when a program that had
/// gone is taken over from, and asking when a live one holds the ID. Null when the trainee chose
/// to go back to the login.
std::unique_ptr<TraineeSession> startTraineeSession(const UserFiles &files, TraineeLockJudge judge,
                                                    QWidget *parent);

} // namespace queldo
