#pragma once

#include <QString>

namespace queldo {

class AppPaths;

/// Longest ID in code page 932 bytes. A file name holds 255 bytes; the longest name in a user
/// folder is the ID, the results file's suffix and the seven characters of a temporary file's
/// suffix, and a half-width kana takes one byte here but three in the UTF-8 names of Linux.
inline constexpr int MaximumIdBytes = 80;

/// Why a typed ID cannot name a user folder, as a message for the trainee; empty when it can.
/// Its tidy form (tidyUserId) becomes a folder and file stem, so anything that would escape the
/// Result folder, be hidden from the user list or not exist as a folder on Windows is refused,
/// and so is what would pass for another ID in a list: blanks inside, mixed alphabets.
QString idRefusal(const QString &typed);

/// The refusal of an ID that cannot be told from the existing one.
QString lookAlikeRefusal(const QString &existing);

struct CreateUserResult
{
    bool created = false;
    QString error; ///< why nothing was created, for the trainee
    /// A folder of that name is there already: another ID is wanted, not another try.
    bool idTaken = false;
    QString id = {}; ///< the ID as created, in its tidy form
};

/// Makes the user folder of a new ID, in its tidy form, with its results, password and settings
/// files, creating the Result folder first when it is missing. An existing folder of that name
/// in any letter case, or of a look-alike name, is refused rather than taken over. Either all of
/// it is made or nothing is left behind.
CreateUserResult createUser(const AppPaths &paths, const QString &typed, const QString &password);

} // namespace queldo
