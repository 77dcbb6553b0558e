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

namespace queldo {

/// A regular file read from its start a piece at a time, for files too long to hold whole.
/// Anything else is refused on opening, as by readRegularFile().
class RegularFileReader
{
public:
    RegularFileReader() = default;
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader &) = delete;
    RegularFileReader &operator=(const RegularFileReader &) = delete;

    /// False, with error() saying why, when the file cannot be opened or is not a regular file.
    bool open(const QString &path);
    /// The size when it was opened.
    qint64 size() const { return m_size; }
    /// Goes on from `offset` bytes into the file; false, with error(), when it cannot.
    bool seek(qint64 offset);
    /// Up to `count` bytes more into `into`: how many, 0 at the end, -1 on failure (error()).
    qint64 read(char *into, qint64 count);
    const QString &error() const { return m_error; }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    QString m_path;
    QString m_error;
};

} // namespace queldo
