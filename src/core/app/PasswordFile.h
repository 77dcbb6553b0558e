#pragma once

#include <QString>

namespace queldo {

/// The stored password line of a user, or why it could not be read.
struct StoredPassword
{
    QString line;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Reads the first line of a password file.
StoredPassword readPasswordFile(const QString &path);

/// Whether a typed password matches the stored line. The line is a salted hash, or the plain
/// password itself in files written by older installations; both are compared exactly.
bool passwordMatches(const QString &storedLine, const QString &typed);

/// The line stored for a password: a salted, deliberately slow hash.
QString hashPassword(const QString &password);

/// Writes the password file whole. Returns an empty string on success, otherwise a message.
QString writePasswordFile(const QString &path, const QString &password);

} // namespace queldo
