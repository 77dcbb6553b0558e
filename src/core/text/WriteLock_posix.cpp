#include "core/text/WriteLock.h"

#include "core/text/UserFolder_posix.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace queldo {

namespace {

// flock belongs to an open file: a second open and flock in the same process would wait for
// itself, so the process keeps each held lock once and counts its holders.
struct Held
{
    int fd = -1;
    int folderFd = -1; ///< the folder the lock file was made in, to remove it from there
    QByteArray name;
    int holders = 0;
};

QMutex heldMutex;
QHash<QString, Held> held;

// Long enough for another computer's save over a slow network share; short enough that a
// holder that hangs does not freeze the window for good.
constexpr int WaitMilliseconds = 10000;
constexpr int PollMilliseconds = 5;

} // namespace

QString WriteLock::lockPath(const QString &filePath)
{
    const QFileInfo info(filePath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".lock");
}

WriteLock::WriteLock(const QString &filePath) : m_key(lockPath(filePath))
{
    {
        const QMutexLocker locker(&heldMutex);
        if (const auto it = held.find(m_key); it != held.end()) {
            ++it->holders;
            return;
        }
    }
    const posix::FolderOf folder(m_key);
    if (!folder.ok()) {
        m_error = folder.error();
        m_key.clear();
        return;
    }
    // The holder removes the lock file before it lets go, so that no trainee's folder keeps one;
    // a lock taken on a file that was removed meanwhile is no lock, and is taken afresh.
    int fd = -1;
    for (int waited = 0;;) {
        if (fd < 0)
            fd = folder.open(folder.name(), O_RDWR | O_CREAT, 0600);
        if (fd < 0) {
            m_error = posix::cannotWrite(m_key, errno);
            m_key.clear();
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat locked = {};
            struct stat named = {};
            if (::fstat(fd, &locked) == 0 &&
                ::fstatat(folder.fd(), folder.name().constData(), &named, AT_SYMLINK_NOFOLLOW) ==
                    0 &&
                locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
                break;
            ::close(fd);
            fd = -1;
            continue;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= WaitMilliseconds) {
            const int error = errno;
            ::close(fd);
            m_error = error == EWOULDBLOCK
                          ? QStringLiteral("ファイル %1 を別のプログラムが使っているため、"
                                           "書き込めません。")
                                .arg(m_key)
                          : posix::cannotWrite(m_key, error);
            m_key.clear();
            return;
        }
        QThread::msleep(PollMilliseconds);
        waited += PollMilliseconds;
    }
    const QMutexLocker locker(&heldMutex);
    held.insert(m_key, Held{fd, ::dup(folder.fd()), folder.name(), 1});
}

WriteLock::~WriteLock()
{
    if (m_key.isEmpty())
        return;
    const QMutexLocker locker(&heldMutex);
    const auto it = held.find(m_key);
    if (it == held.end() || --it->holders > 0)
        return;
    // Removed while still held, so that nobody takes a lock on it in between; closing the only
    // descriptor of the open file then drops the lock.
    if (it->folderFd >= 0) {
        ::unlinkat(it->folderFd, it->name.constData(), 0);
        ::close(it->folderFd);
    }
    ::close(it->fd);
    held.erase(it);
}

} // namespace queldo
