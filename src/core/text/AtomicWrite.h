#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace queldo {

/// Writes bytes whole, atomically: into a temporary file beside the target, which then takes the
/// target's name. Returns an empty string on success, otherwise a message naming the file.
/// permissions, when given, replace the ones the file would otherwise get (an existing file's
/// own, or the usual ones for a new file).
///
/// Nothing but the target's own place is ever written: a link at the target is refused rather
/// than followed, and so is a folder that is itself a link, so a planted link can neither
/// overwrite a file elsewhere nor carry the write into another trainee's folder.
QString writeFileAtomically(const QString &path, const QByteArray &bytes,
                            QFileDevice::Permissions permissions = {});

} // namespace queldo
