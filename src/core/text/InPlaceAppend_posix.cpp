#include "core/text/InPlaceAppend.h"

#include "core/text/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace queldo {

namespace {

// The note holds the length in decimal digits and a line end, nothing else; a note cut short by
// a crash while it was being written lacks the line end and is no note at all (the file was not
// yet touched then).
constexpr qint64 MaximumNoteBytes = 32;

QString cannotWrite(const QString &path, int error)
{
    return QStringLiteral("ファイル %1 に書き込めません。(%2)").arg(path, qt_error_string(error));
}

// The length a note holds, or nothing when there is no usable note.
std::optional<qint64> noteLength(const QString &notePath)
{
    // Only a file of our own making counts: a link placed there must never decide how much of a
    // trainee's history is cut away.
    struct stat info = {};
    if (::lstat(QFile::encodeName(notePath).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const FileBytes note = readRegularFile(notePath, MaximumNoteBytes);
    if (!note.ok() || note.bytes.size() < 2 || !note.bytes.endsWith('\n'))
        return std::nullopt;
    qint64 length = 0;
    for (qsizetype i = 0; i + 1 < note.bytes.size(); ++i) {
        const char c = note.bytes.at(i);
        if (c < '0' || c > '9' || length > (qint64(1) << 50))
            return std::nullopt;
        length = length * 10 + (c - '0');
    }
    return length;
}

bool writeAll(int fd, const char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(size), off_t(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
        offset += written;
    }
    return true;
}

// Makes a name just made or removed in the folder of `path` durable: until the folder itself is
// synced, a power cut may bring back a removed note or lose a new one.
bool syncFolderOf(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : name.left(std::max<qsizetype>(slash, 1));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool makeNote(const QString &notePath, qint64 length)
{
    const QByteArray name = QFile::encodeName(notePath);
    // Never through a link: the note must be a file of our own in the user folder.
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray text = QByteArray::number(length) + '\n';
    if (!writeAll(fd, text.constData(), text.size(), 0)) {
        ::close(fd);
        ::unlink(name.constData());
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced || !syncFolderOf(name)) {
        ::unlink(name.constData());
        return false;
    }
    return true;
}

bool removeNote(const QString &notePath)
{
    const QByteArray name = QFile::encodeName(notePath);
    if (::unlink(name.constData()) != 0)
        return errno == ENOENT;
    // Best effort: the line is in the file by now, and a note that a power cut brings back only
    // costs that one line, which is better than telling the trainee it was not saved.
    syncFolderOf(name);
    return true;
}

} // namespace

QString unfinishedAppendNotePath(const QString &path)
{
    return path + QStringLiteral(".undo");
}

qint64 finishedLength(const QString &path, qint64 size)
{
    const auto length = noteLength(unfinishedAppendNotePath(path));
    return length && *length <= size ? *length : size;
}

QString undoUnfinishedAppend(const QString &path)
{
    const QString notePath = unfinishedAppendNotePath(path);
    const auto length = noteLength(notePath);
    if (!length) {
        // No note (the usual case), or one cut short before its file was touched: nothing to
        // undo. Such a note is removed if it can be; readers disregard it either way.
        removeNote(notePath);
        return {};
    }
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    struct stat info = {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && *length < info.st_size) {
        if (::ftruncate(fd, off_t(*length)) != 0 || ::fsync(fd) != 0) {
            const int error = errno;
            ::close(fd);
            return cannotWrite(path, error);
        }
    }
    if (fd >= 0)
        ::close(fd);
    // A note that claims more than the file holds is not the file's and guards nothing. A note
    // that stays would hide whatever is written next, so failing to remove it is an error.
    if (!removeNote(notePath))
        return cannotWrite(notePath, errno);
    return {};
}

InPlaceAppendResult appendInPlace(const QString &path, qint64 expectedLength, QByteArrayView tail)
{
    InPlaceAppendResult result;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = cannotWrite(path, errno);
        result.rewriteInstead = true;
        return result;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != expectedLength) {
        ::close(fd);
        // Composed from bytes that are no longer there; writing it afresh would lose the change.
        result.error = QStringLiteral("ファイル %1 が読んだ後で変わりました。").arg(path);
        return result;
    }
    const QString notePath = unfinishedAppendNotePath(path);
    if (!makeNote(notePath, expectedLength)) {
        result.error = cannotWrite(notePath, errno);
        result.rewriteInstead = true;
        ::close(fd);
        return result;
    }

    int error = writeAll(fd, tail.data(), tail.size(), expectedLength) ? 0 : errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error != 0) {
        // Nothing half-written is left for the trainee to meet: the file goes back to what it
        // was, and only if that fails too does the note stay to hide the rest from readers.
        const bool restored = ::ftruncate(fd, off_t(expectedLength)) == 0 && ::fsync(fd) == 0;
        ::close(fd);
        if (restored)
            removeNote(notePath);
        result.error = cannotWrite(path, error);
        return result;
    }
    ::close(fd);
    if (!removeNote(notePath))
        result.error = cannotWrite(notePath, errno);
    return result;
}

} // namespace queldo
