#pragma once

#include <QString>

namespace queldo {

/// The teacher's password file in a Result folder. Its name starts with a dot, which no ID may
/// start with, so no trainee's folder can ever take its name, and the user list leaves it out.
QString teacherPasswordPath(const QString &resultFolder);

enum class TeacherPasswordState {
    NotSet,     ///< no file yet: the first teacher sets the password
    Set,        ///< a hash is stored: the teacher is asked for it
    Unreadable, ///< a file is there but holds no hash this program wrote, or cannot be read
};

struct TeacherPasswordStatus
{
    TeacherPasswordState state = TeacherPasswordState::NotSet;
    QString error; ///< why the file is unreadable, for the message
};

TeacherPasswordStatus teacherPasswordStatus(const QString &path);

/// Whether the typed password is the teacher's. Only a hash counts: a plain line written into
/// the file by hand never lets anyone in.
bool teacherPasswordMatches(const QString &path, const QString &typed);

/// Sets the password the first time, typed twice alike and not empty, hashed as the trainees'
/// passwords are. An existing file is never replaced here. Empty on success, otherwise why not.
QString setTeacherPassword(const QString &path, const QString &password, const QString &again);

} // namespace queldo
