#include "core/text/InPlaceAppend.h"

#include "core/text/RegularFile.h"
#include "core/text/UserFolder_posix.h"

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

QByteArray noteName(const posix::FolderOf &folder)
{
    return folder.name() + ".undo";
}

bool makeNote(const posix::FolderOf &folder, qint64 length)
{
    const QByteArray name = noteName(folder);
    // Never through a link: the note must be a file of our own in the user folder.
    const int fd = folder.open(name, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const QByteArray text = QByteArray::number(length) + '\n';
    const bool written = writeAll(fd, text.constData(), text.size(), 0) && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    // Until the folder itself is synced, a power cut may lose the new note.
    if (written && folder.sync())
        return true;
    ::unlinkat(folder.fd(), name.constData(), 0);
    errno = written ? EIO : error;
    return false;
}

bool removeNote(const posix::FolderOf &folder)
{
    if (::unlinkat(folder.fd(), noteName(folder).constData(), 0) != 0)
        return errno == ENOENT;
    // Best effort: the line is in the file by now, and a note that a power cut brings back only
    // costs that one line, which is better than telling the trainee it was not saved.
    folder.sync();
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
    const posix::FolderOf folder(path);
    if (!folder.ok())
        return folder.error();
    const QString notePath = unfinishedAppendNotePath(path);
    const auto length = noteLength(notePath);
    if (!length) {
        // No note (the usual case), or one cut short before its file was touched: nothing to
        // undo. Such a note is removed if it can be; readers disregard it either way.
        removeNote(folder);
        return {};
    }
    const int fd = folder.open(folder.name(), O_WRONLY);
    if (fd < 0 && errno == ELOOP)
        return posix::cannotWrite(path, ELOOP);
    struct stat info = {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && *length < info.st_size) {
        if (::ftruncate(fd, off_t(*length)) != 0 || ::fsync(fd) != 0) {
            const int error = errno;
            ::close(fd);
            return posix::cannotWrite(path, error);
        }
    }
    if (fd >= 0)
        ::close(fd);
    // A note that claims more than the file holds is not the file's and guards nothing. A note
    // that stays would hide whatever is written next, so failing to remove it is an error.
    if (!removeNote(folder))
        return posix::cannotWrite(notePath, errno);
    return {};
}

InPlaceAppendResult appendInPlace(const QString &path, qint64 expectedLength, QByteArrayView tail)
{
    InPlaceAppendResult result;
    const posix::FolderOf folder(path);
    if (!folder.ok()) {
        result.error = folder.error();
        return result;
    }
    const int fd = folder.open(folder.name(), O_WRONLY);
    if (fd < 0) {
        // A link is refused outright: writing the file afresh would copy what it points at into
        // this trainee's history.
        const int error = errno;
        result.rewriteInstead = error != ELOOP;
        result.error = posix::cannotWrite(path, error);
        return result;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != expectedLength) {
        ::close(fd);
        // Composed from bytes that are no longer there; writing it afresh would lose the change.
        result.error = QStringLiteral("ファイル %1 が読んだ後で変わりました。").arg(path);
        return result;
    }
    if (!makeNote(folder, expectedLength)) {
        const int error = errno;
        result.error = posix::cannotWrite(unfinishedAppendNotePath(path), error);
        result.rewriteInstead = error != ELOOP;
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
            removeNote(folder);
        result.error = posix::cannotWrite(path, error);
        return result;
    }
    ::close(fd);
    if (!removeNote(folder))
        result.error = posix::cannotWrite(unfinishedAppendNotePath(path), errno);
    return result;
}

} // namespace queldo
