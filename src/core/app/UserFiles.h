#pragma once

#include <QString>

namespace queldo {

class AppPaths;

/// The files a trainee's folder holds, each named after the ID.
enum class UserFile {
    Results,          ///< every scored attempt, one record a line
    Arrangements,     ///< how each attempt's board was laid out
    AbnormalAttempts, ///< the karyotypes written for abnormal cells
    Settings,         ///< modes and scale, in the layout older installations read
    Password,
    AnswerOptions,   ///< how the trainee likes the answer windows
    WindowPlacement, ///< where the exercise window was last left
    SessionMark,     ///< which program holds the trainee now
};

/// The file's name in the user folder: the ID followed by the file's suffix. Every suffix is
/// spelled here and nowhere else, so that what a trainee's folder may hold is read in one place.
QString userFileName(const QString &id, UserFile file);

/// One trainee's files in both of the program's path forms. The forms are computed at each call,
/// not at construction, so they follow the paths' current folder as it was when asked.
class UserFiles
{
public:
    UserFiles(const AppPaths &paths, QString id);

    const QString &id() const { return m_id; }
    /// "..\Result\ID\ID.ext" against the current folder.
    QString relative(UserFile file) const;
    /// Program folder + "result\ID\ID.ext".
    QString program(UserFile file) const;
    /// The user folder in its program-folder form.
    QString programFolder() const;

private:
    const AppPaths *m_paths;
    QString m_id;
};

} // namespace queldo
