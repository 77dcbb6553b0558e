#include "core/text/InPlaceAppend.h"

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

// A note is one line: the length, the device and inode of the file it guards and a checksum of
// the bytes just before the cut, in decimal and separated by blanks. Older notes hold the length
// alone. A note cut short by a crash while it was being written lacks the line end and is no
// note at all (the file was not yet touched then).
constexpr qint64 MaximumNoteBytes = 96;
// How many bytes before the cut the checksum covers: enough that a note of another file, or a
// forged one, cannot match by chance, and cheap to read on every append.
constexpr qint64 ChecksumBytes = 4096;
// The note lies beside the file it guards, named after it, so that each file has its own.
constexpr char NoteSuffix[] = ".undo";

bool readAll(int fd, char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size_t(size), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
        offset += got;
    }
    return true;
}

// FNV-1a over the bytes before `length`; nothing when they cannot be read.
std::optional<quint64> checksumBefore(int fd, qint64 length)
{
    const qint64 count = std::min(length, ChecksumBytes);
    QByteArray bytes(qsizetype(count), Qt::Uninitialized);
    if (!readAll(fd, bytes.data(), count, length - count))
        return std::nullopt;
    quint64 sum = 14695981039346656037ull;
    for (const char c : bytes)
        sum = (sum ^ uchar(c)) * 1099511628211ull;
    return sum;
}

std::optional<quint64> readNumber(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 20)
        return std::nullopt;
    quint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const quint64 next = value * 10 + quint64(c - '0');
        if (next / 10 != value)
            return std::nullopt;
        value = next;
    }
    return value;
}

struct Note
{
    enum Kind {
        None,     ///< no note, or one cut short before its file was touched
        Matching, ///< guards this file: cutting at length undoes an unfinished append
        Foreign,  ///< not this file's, or would cut inside a line: never acted upon
    };
    Kind kind = None;
    qint64 length = 0;
};

// What the note bytes say about the file open at fd, which holds `size` bytes.
Note judgeNote(const QByteArray &bytes, int fd, qint64 size)
{
    if (bytes.isEmpty() || !bytes.endsWith('\n'))
        return {};
    const QList<QByteArray> fields = bytes.chopped(1).split(' ');
    const Note foreign{Note::Foreign, 0};
    std::optional<quint64> numbers[4];
    for (qsizetype i = 0; i < fields.size() && i < 4; ++i)
        numbers[i] = readNumber(fields.at(i));
    const bool current = fields.size() == 4;
    if ((fields.size() != 1 && !current) || !numbers[0] || *numbers[0] > quint64(size))
        return foreign;
    const qint64 length = qint64(*numbers[0]);
    struct stat info = {};
    if (current) {
        if (!numbers[1] || !numbers[2] || !numbers[3] || ::fstat(fd, &info) != 0 ||
            quint64(info.st_dev) != *numbers[1] || quint64(info.st_ino) != *numbers[2] ||
            checksumBefore(fd, length) != numbers[3])
            return foreign;
    }
    if (length == size)
        return {Note::Matching, length}; // nothing was appended yet: nothing to cut
    // The cut must fall at a line end: after the last byte of a line, or (a note of ours only)
    // where the append began by ending a last line that had no line end.
    char around[2] = {};
    if (length == 0 || !readAll(fd, around, std::min<qint64>(2, size - length + 1), length - 1))
        return foreign;
    const bool afterLineEnd = around[0] == '\n' || around[0] == '\r';
    const bool beforeOwnLineEnd = current && size - length >= 2 && readAll(fd, around, 2, length) &&
                                  around[0] == '\r' && around[1] == '\n';
    return afterLineEnd || beforeOwnLineEnd ? Note{Note::Matching, length} : foreign;
}

QByteArray noteName(const posix::FolderOf &folder)
{
    return folder.name() + NoteSuffix;
}

QByteArray readNote(int noteFd)
{
    // Only a regular file of our own making counts: a link, a folder or a FIFO placed there must
    // never decide how much of a trainee's history is cut away.
    struct stat info = {};
    if (noteFd < 0 || ::fstat(noteFd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > MaximumNoteBytes)
        return {};
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    return readAll(noteFd, bytes.data(), bytes.size(), 0) ? bytes : QByteArray();
}

bool makeNote(const posix::FolderOf &folder, int fileFd, qint64 length)
{
    struct stat info = {};
    const auto sum = checksumBefore(fileFd, length);
    if (::fstat(fileFd, &info) != 0 || !sum)
        return false;
    const QByteArray name = noteName(folder);
    // Never through a link: the note must be a file of our own in the user folder.
    const int fd = folder.open(name, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const QByteArray text =
        QByteArray::number(length) + ' ' + QByteArray::number(quint64(info.st_dev)) + ' ' +
        QByteArray::number(quint64(info.st_ino)) + ' ' + QByteArray::number(*sum) + '\n';
    const bool written =
        posix::writeAllAt(fd, text.constData(), text.size(), 0) && ::fsync(fd) == 0;
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
    return path + QLatin1String(NoteSuffix);
}

QString rejectedNotePath(const QString &path)
{
    return path + QLatin1String(NoteSuffix) + QStringLiteral(".rejected");
}

qint64 finishedLength(const QString &path, qint64 size)
{
    const QByteArray name = QFile::encodeName(path);
    const int noteFd = ::open(QFile::encodeName(unfinishedAppendNotePath(path)).constData(),
                              O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    const QByteArray bytes = readNote(noteFd);
    if (noteFd >= 0)
        ::close(noteFd);
    if (bytes.isEmpty())
        return size;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return size;
    const Note note = judgeNote(bytes, fd, size);
    ::close(fd);
    return note.kind == Note::Matching ? note.length : size;
}

QString undoUnfinishedAppend(const QString &path, QString *notice)
{
    const posix::FolderOf folder(path);
    if (!folder.ok())
        return folder.error();
    const int noteFd = folder.open(noteName(folder), O_RDONLY | O_NONBLOCK);
    if (noteFd < 0 && errno == ENOENT)
        return {}; // the usual case
    const QByteArray bytes = readNote(noteFd);
    if (noteFd >= 0)
        ::close(noteFd);

    const int fd = folder.open(folder.name(), O_RDWR);
    if (fd < 0 && errno == ELOOP)
        return posix::cannotWrite(path, ELOOP);
    struct stat info = {};
    const bool regular = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const Note note = regular ? judgeNote(bytes, fd, info.st_size) : Note{};
    if (note.kind == Note::Foreign) {
        ::close(fd);
        // Kept for whoever wants to look into it, and out of the way of every later append, so
        // that it is reported once and never cuts anything.
        const QByteArray rejected = noteName(folder) + ".rejected";
        if (::renameat(folder.fd(), noteName(folder).constData(), folder.fd(),
                       rejected.constData()) != 0)
            return posix::cannotWrite(unfinishedAppendNotePath(path), errno);
        folder.sync();
        if (notice)
            *notice = QStringLiteral("ファイル %1 の横に、このファイルのものではない書きかけの印が"
                                     "ありました。何も消さずに %2 へ移しました。")
                          .arg(path, rejectedNotePath(path));
        return {};
    }
    if (note.kind == Note::Matching && note.length < info.st_size) {
        if (::ftruncate(fd, off_t(note.length)) != 0 || ::fsync(fd) != 0) {
            const int error = errno;
            ::close(fd);
            return posix::cannotWrite(path, error);
        }
    }
    if (fd >= 0)
        ::close(fd);
    if (note.kind == Note::None) {
        // Cut short before its file was touched, beside no file, or no note of ours at all (a
        // folder, a link): it guards nothing, readers disregard it, and it goes if it can.
        removeNote(folder);
        return {};
    }
    // A note that stays would hide whatever is written next, so failing to remove it is an
    // error.
    if (!removeNote(folder))
        return posix::cannotWrite(unfinishedAppendNotePath(path), errno);
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
    // Read as well as written: the note records a checksum of the bytes before the append.
    const int fd = folder.open(folder.name(), O_RDWR);
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
    if (!makeNote(folder, fd, expectedLength)) {
        const int error = errno;
        result.error = posix::cannotWrite(unfinishedAppendNotePath(path), error);
        result.rewriteInstead = error != ELOOP;
        ::close(fd);
        return result;
    }

    int error = posix::writeAllAt(fd, tail.data(), tail.size(), expectedLength) ? 0 : errno;
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
