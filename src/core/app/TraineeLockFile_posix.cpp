#include "core/app/TraineeLockFile.h"

#include "core/text/UserFolder_posix.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace queldo {

namespace {

// A session file is a few short lines; anything longer is not ours and is read no further.
constexpr qsizetype MaximumBytes = 4096;
// A file found unreadable is looked at once more after this long: another program may have
// made it a moment ago and not yet written it.
constexpr unsigned long SecondLookMilliseconds = 300;

QByteArray readSmall(int fd)
{
    QByteArray bytes(MaximumBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + got, size_t(bytes.size() - got), off_t(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

QDateTime modifiedOf(const struct stat &info)
{
    return QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec, Qt::UTC);
}

TraineeLockSeen lookOnce(const posix::FolderOf &folder)
{
    TraineeLockSeen seen;
    struct stat info = {};
    if (::fstatat(folder.fd(), folder.name().constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return seen; // missing; a folder that cannot be read shows when the file is made
    seen.modified = modifiedOf(info);
    if (S_ISLNK(info.st_mode)) {
        seen.kind = TraineeLockSeen::Kind::Link;
        return seen;
    }
    seen.kind = TraineeLockSeen::Kind::Other;
    if (!S_ISREG(info.st_mode))
        return seen;
    const int fd = folder.open(folder.name(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return seen;
    seen.kind = TraineeLockSeen::Kind::Regular;
    seen.bytes = readSmall(fd);
    ::close(fd);
    return seen;
}

QByteArray asideName(const posix::FolderOf &folder, const QByteArray &tag)
{
    return folder.name() + ".taken-" + tag;
}

} // namespace

TraineeLockFile::TraineeLockFile(QString path) : m_path(std::move(path)) {}

TraineeLockSeen TraineeLockFile::look() const
{
    const posix::FolderOf folder(m_path);
    if (!folder.ok())
        return {};
    TraineeLockSeen seen = lookOnce(folder);
    if (seen.kind == TraineeLockSeen::Kind::Regular && !parseTraineeLock(seen.bytes)) {
        QThread::msleep(SecondLookMilliseconds);
        seen = lookOnce(folder);
    }
    return seen;
}

TraineeLockFile::Result TraineeLockFile::create(const TraineeLockInfo &info) const
{
    const posix::FolderOf folder(m_path);
    if (!folder.ok())
        return {Outcome::Failed, folder.error()};
    const int fd = folder.open(folder.name(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            return {Outcome::Beaten, {}};
        return {Outcome::Failed, posix::cannotWrite(m_path, errno)};
    }
    const QByteArray bytes = traineeLockBytes(info);
    const bool written =
        posix::writeAllAt(fd, bytes.constData(), bytes.size(), 0) && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!written) {
        // A half-written file would read as damaged and be taken over at once: no use leaving it.
        ::unlinkat(folder.fd(), folder.name().constData(), 0);
        return {Outcome::Failed, posix::cannotWrite(m_path, error)};
    }
    folder.sync();
    return {Outcome::Taken, {}};
}

TraineeLockFile::Result TraineeLockFile::takeOver(const TraineeLockSeen &judged,
                                                  const TraineeLockInfo &info) const
{
    const posix::FolderOf folder(m_path);
    if (!folder.ok())
        return {Outcome::Failed, folder.error()};
    // Renaming is what only one of several programs taking over at once can do to the same
    // file; whoever did it then sees whether what it moved is still what it judged.
    const QByteArray aside = asideName(folder, info.tag);
    if (::renameat(folder.fd(), folder.name().constData(), folder.fd(), aside.constData()) != 0) {
        if (errno == ENOENT)
            return {Outcome::Beaten, {}};
        return {Outcome::Failed, posix::cannotWrite(m_path, errno)};
    }
    struct stat moved = {};
    bool same = false;
    if (::fstatat(folder.fd(), aside.constData(), &moved, AT_SYMLINK_NOFOLLOW) == 0) {
        if (judged.kind == TraineeLockSeen::Kind::Link) {
            same = S_ISLNK(moved.st_mode);
        } else if (S_ISREG(moved.st_mode)) {
            const int fd = folder.open(aside, O_RDONLY | O_NONBLOCK);
            if (fd >= 0) {
                same = readSmall(fd) == judged.bytes;
                ::close(fd);
            }
        }
    }
    if (!same) {
        // Another program's fresh file: back where it was, unless yet another one came first.
        ::linkat(folder.fd(), aside.constData(), folder.fd(), folder.name().constData(), 0);
        ::unlinkat(folder.fd(), aside.constData(), 0);
        return {Outcome::Beaten, {}};
    }
    ::unlinkat(folder.fd(), aside.constData(), 0);
    return create(info);
}

TraineeLockFile::Result TraineeLockFile::renew(const TraineeLockInfo &info) const
{
    const posix::FolderOf folder(m_path);
    if (!folder.ok())
        return {Outcome::Failed, folder.error()};
    const int fd = folder.open(folder.name(), O_RDWR | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ELOOP)
            return {Outcome::Beaten, {}};
        return {Outcome::Failed, posix::cannotWrite(m_path, errno)};
    }
    struct stat opened = {};
    const std::optional<TraineeLockInfo> found =
        ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) ? parseTraineeLock(readSmall(fd))
                                                             : std::nullopt;
    if (!found || found->tag != info.tag) {
        ::close(fd);
        return {Outcome::Beaten, {}};
    }
    const QByteArray bytes = traineeLockBytes(info);
    const bool written = posix::writeAllAt(fd, bytes.constData(), bytes.size(), 0) &&
                         ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!written)
        return {Outcome::Failed, posix::cannotWrite(m_path, error)};
    return {Outcome::Taken, {}};
}

void TraineeLockFile::remove(const QByteArray &tag) const
{
    const posix::FolderOf folder(m_path);
    if (!folder.ok())
        return;
    const int fd = folder.open(folder.name(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return;
    const std::optional<TraineeLockInfo> found = parseTraineeLock(readSmall(fd));
    ::close(fd);
    if (found && found->tag == tag)
        ::unlinkat(folder.fd(), folder.name().constData(), 0);
}

TraineeLockJudge judgeForThisProgram()
{
    return TraineeLockJudge(
        {QSysInfo::machineHostName(), QCoreApplication::applicationPid(), newTraineeLockTag()},
        [] { return QDateTime::currentDateTimeUtc(); },
        // A process of another account answers EPERM: it runs all the same.
        [](qint64 pid) { return ::kill(pid_t(pid), 0) == 0 || errno == EPERM; });
}

} // namespace queldo
