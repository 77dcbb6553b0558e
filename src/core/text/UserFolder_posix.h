#pragma once

// Opening files in a trainee's folder without ever following a link, shared by the POSIX
// writers of that folder. Everything is opened relative to the folder itself, so a folder that
// is swapped for a link after it was checked still cannot redirect a write.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace queldo::posix {

/// The folder a file lies in, opened without following a link at its own name: a link put in
/// place of a trainee's folder would carry every write elsewhere.
class FolderOf
{
public:
    explicit FolderOf(const QString &filePath);
    ~FolderOf();
    FolderOf(const FolderOf &) = delete;
    FolderOf &operator=(const FolderOf &) = delete;

    bool ok() const { return m_fd >= 0; }
    /// Why the folder could not be used, naming it; empty when ok().
    const QString &error() const { return m_error; }
    int fd() const { return m_fd; }
    /// The file's own name within the folder, in the file system's encoding.
    const QByteArray &name() const { return m_name; }
    const QString &filePath() const { return m_filePath; }

    /// Opens a name in the folder with O_NOFOLLOW and O_CLOEXEC added: -1 and errno on failure
    /// (ELOOP for a link).
    int open(const QByteArray &name, int flags, mode_t mode = 0600) const;
    /// Makes names just made or removed in the folder durable; false when that failed.
    bool sync() const;

private:
    int m_fd = -1;
    QByteArray m_name;
    QString m_filePath;
    QString m_error;
};

/// Writes all of size bytes at offset, going on after a short write or an interruption; false
/// and errno when the system refused.
bool writeAllAt(int fd, const char *data, qint64 size, qint64 offset);

/// The message for a write that a failure with errno `error` refused: a link at the file's
/// place is named as such, anything else as the system says it.
QString cannotWrite(const QString &path, int error);

} // namespace queldo::posix
