#include "core/app/SingleInstanceLock.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace queldo {

SingleInstanceLock::SingleInstanceLock(const QString &name, const QString &lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    const QByteArray path =
        QFile::encodeName(folder + QStringLiteral("/queldo-") + name + QStringLiteral(".lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
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
