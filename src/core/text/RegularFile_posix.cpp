#include "core/text/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace queldo {

namespace {

QString cannotOpen(const QString &path, int error)
{
    return QStringLiteral("ファイル %1 を開けません。(%2)").arg(path, qt_error_string(error));
}

// Opens a file for reading if it is a regular one; otherwise says why not in *error.
int openRegular(const QString &path, struct stat *info, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = cannotOpen(path, errno);
        return -1;
    }
    if (::fstat(fd, info) != 0) {
        *error = cannotOpen(path, errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info->st_mode)) {
        *error = QStringLiteral("ファイル %1 は通常のファイルではないため読めません。").arg(path);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

FileEnd readRegularFileEnd(const QString &path, qint64 count)
{
    FileEnd result;
    struct stat info = {};
    const int fd = openRegular(path, &info, &result.error);
    if (fd < 0)
        return result;
    result.size = info.st_size;
    result.last.resize(qsizetype(std::min<qint64>(count, result.size)));
    qint64 done = 0;
    while (done < result.last.size()) {
        const ssize_t got =
            ::pread(fd, result.last.data() + done, size_t(result.last.size() - done),
                    off_t(result.size - result.last.size() + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            // Shorter than it said (cut meanwhile) or unreadable: report it rather than guess.
            result.error = cannotOpen(path, got < 0 ? errno : EIO);
            result.last.clear();
            break;
        }
        done += got;
    }
    ::close(fd);
    return result;
}

FileBytes readRegularFile(const QString &path, qint64 maxBytes)
{
    FileBytes result;
    struct stat info = {};
    const int fd = openRegular(path, &info, &result.error);
    if (fd < 0)
        return result;
    // The reported size only sizes the first buffer: the file is read to its end, whatever it
    // turns out to hold, and refused as soon as it passes the limit.
    const auto tooLarge = [&] {
        result.bytes.clear();
        result.error = QStringLiteral("ファイル %1 が大きすぎます。").arg(path);
    };
    if (info.st_size > maxBytes) {
        tooLarge();
        ::close(fd);
        return result;
    }
    result.bytes.reserve(qsizetype(info.st_size) + 1);
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.bytes.clear();
            result.error = cannotOpen(path, errno);
            break;
        }
        if (got == 0)
            break;
        if (result.bytes.size() + got > maxBytes) {
            tooLarge();
            break;
        }
        result.bytes.append(chunk, qsizetype(got));
    }
    ::close(fd);
    return result;
}

} // namespace queldo

namespace queldo {

RegularFileReader::~RegularFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RegularFileReader::open(const QString &path)
{
    struct stat info = {};
    m_path = path;
    m_fd = openRegular(path, &info, &m_error);
    m_size = m_fd >= 0 ? qint64(info.st_size) : 0;
    return m_fd >= 0;
}

bool RegularFileReader::seek(qint64 offset)
{
    if (m_fd < 0)
        return false;
    if (::lseek(m_fd, off_t(offset), SEEK_SET) < 0) {
        m_error = cannotOpen(m_path, errno);
        return false;
    }
    return true;
}

qint64 RegularFileReader::read(char *into, qint64 count)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(m_fd, into, size_t(count));
        if (got >= 0)
            return qint64(got);
        if (errno != EINTR) {
            m_error = cannotOpen(m_path, errno);
            return -1;
        }
    }
}

} // namespace queldo
