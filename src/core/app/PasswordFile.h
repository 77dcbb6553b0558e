#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace queldo {

/// The stored password line of a user, or why it could not be read.
struct StoredPassword
{
    QString line;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Reads the first line of a password file. A hash this program would not have written, or
/// whose memory or time cost goes beyond its own, is reported like a damaged file: checking it
/// could take gigabytes or minutes.
StoredPassword readPasswordFile(const QString &path);
/// The same for the bytes of a password file; path only names the file in messages.
StoredPassword parsePasswordFile(const QByteArray &bytes, const QString &path);

/// The cost a stored hash asks of every check: memory in KiB, passes and lanes.
struct HashCost
{
    quint64 memoryKiB = 0;
    quint64 passes = 0;
    quint64 lanes = 0;
};
/// Reads the cost from the start of a stored hash line ("$argon2id$v=19$m=65536,t=2,p=1$...").
/// Nothing for a line that is not a hash of the kind this program writes.
std::optional<HashCost> hashCost(QStringView storedLine);

/// Whether a typed password matches the stored line. The line is a salted hash, or the plain
/// password itself in files written by older installations; both are compared exactly. A hash
/// beyond the program's own cost never matches and is never computed.
bool passwordMatches(const QString &storedLine, const QString &typed);

/// The line stored for a password: a salted, deliberately slow hash.
QString hashPassword(const QString &password);

/// Writes the password file whole, readable by its owner alone. Returns an empty string on
/// success, otherwise a message.
QString writePasswordFile(const QString &path, const QString &password);

/// After a successful login against a password stored in plain text by an older installation,
/// stores it hashed. Returns an empty string on success or when there is nothing to do.
QString upgradeLegacyPassword(const QString &path, const QString &storedLine, const QString &typed);

} // namespace queldo
