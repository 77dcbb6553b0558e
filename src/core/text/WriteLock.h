#pragma once

#include <QString>

namespace queldo {

/// Serialises the writers of a trainee's files, in this program and in any other copy of it on
/// any computer that shares the folder: while one holds the lock, another waits, so that neither
/// composes a record from bytes the other is about to change, nor takes the other's unfinished
/// append for one a crash left. The lock is advisory and lies in the file's own folder (the
/// file's name without its extension, plus ".lock") only while it is held; the system drops it
/// when its holder ends.
///
/// Taking it again in the same process while it is held (saving an attempt holds it across both
/// of its files) only counts up. One thread at a time writes a trainee's files.
class WriteLock
{
public:
    /// Takes the lock of the folder `filePath` lies in, waiting up to a few seconds for another
    /// holder to finish.
    explicit WriteLock(const QString &filePath);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    bool ok() const { return m_error.isEmpty(); }
    /// Why the lock could not be taken, naming its file; the write must then not go ahead.
    const QString &error() const { return m_error; }

    /// The lock file for `filePath`.
    static QString lockPath(const QString &filePath);

private:
    QString m_key;
    QString m_error;
};

} // namespace queldo
