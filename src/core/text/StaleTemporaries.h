#pragma once

#include <QDateTime>
#include <QString>

namespace queldo {

/// Removes what interrupted atomic writes left behind in a folder and returns how many were
/// removed. An atomic write names its temporary file after its target plus a dot and six
/// letters, so only such files count, only beside a file of the folder that bears the target's
/// name, and only once they are old enough that no write can still be using them.
int removeStaleTemporaries(const QString &folder, const QDateTime &now);

/// How old a temporary file must be before it is taken for one left by an interrupted write. A
/// folder shared by several computers sees the temporary files of all of them, dated by clocks
/// that may be minutes apart: only a day is safely beyond any write still going on.
inline constexpr qint64 StaleTemporaryAgeSeconds = 24 * 60 * 60;

} // namespace queldo
