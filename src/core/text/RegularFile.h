#pragma once

#include <QByteArray>
#include <QString>

namespace queldo {

/// What reading a file whole gave: its bytes, or a message for the trainee.
struct FileBytes
{
    QByteArray bytes;
    QString error; ///< empty on success
    bool ok() const { return error.isEmpty(); }
};

/// Largest text file read whole: far beyond any file the program writes, small enough that a
/// damaged or foreign file cannot take the memory of the machine.
inline constexpr qint64 MaximumTextFileBytes = 64 * 1024 * 1024;

/// Reads a regular file whole, refusing anything larger than maxBytes. Devices, pipes, sockets and
/// folders are refused without being read: their reported size says nothing (a device never
/// ends, a pipe may never deliver), so a link to one must not hang or exhaust the program.
FileBytes readRegularFile(const QString &path, qint64 maxBytes);

/// The size of a regular file and its last bytes, read without reading the rest.
struct FileEnd
{
    qint64 size = 0;
    QByteArray last; ///< the last min(count, size) bytes
    QString error;   ///< empty on success
    bool ok() const { return error.isEmpty(); }
};

/// Reads the size and the last `count` bytes of a regular file; anything else is refused, as by
/// readRegularFile().
FileEnd readRegularFileEnd(const QString &path, qint64 count);

} // namespace queldo
