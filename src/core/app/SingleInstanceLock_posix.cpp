#include "core/app/SingleInstanceLock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace queldo {

QString SingleInstanceLock::lockPath(const QString &name, const QString &lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    // The user's number in the name: in a folder shared by every account (the temporary
    // folder), each account has a lock of its own.
    return folder + QStringLiteral("/queldo-%1-%2.lock").arg(::getuid()).arg(name);
}

SingleInstanceLock::SingleInstanceLock(const QString &name, const QString &lockFolder)
{
    const QByteArray path = QFile::encodeName(lockPath(name, lockFolder));
    // No following links: a planted link must not make us create or lock another file.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return; // unusable (planted by someone else, a folder, no room): run unguarded
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
        ::close(fd);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_anotherCopyRuns = errno == EWOULDBLOCK;
        ::close(fd);
        return;
    }
    m_handle = fd;
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

} // namespace queldo
