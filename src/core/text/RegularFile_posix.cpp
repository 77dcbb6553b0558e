#include "core/text/RegularFile.h"

#include <QFile>

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

} // namespace

FileBytes readRegularFile(const QString &path, qint64 maxBytes)
{
    FileBytes result;
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.error = cannotOpen(path, errno);
        return result;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        result.error = cannotOpen(path, errno);
        ::close(fd);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error =
            QStringLiteral("ファイル %1 は通常のファイルではないため読めません。").arg(path);
        ::close(fd);
        return result;
    }
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
