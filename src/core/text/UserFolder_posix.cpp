#include "core/text/UserFolder_posix.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace queldo::posix {

FolderOf::FolderOf(const QString &filePath) : m_filePath(filePath)
{
    const QByteArray path = QFile::encodeName(filePath);
    const qsizetype slash = path.lastIndexOf('/');
    m_name = path.mid(slash + 1);
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : path.left(slash);
    // Opened relative to its folder, a file could be written under a path too long for anyone
    // to open it again: the trainee would be told it was saved, and then never see it.
    if (path.size() >= PATH_MAX) {
        m_error = cannotWrite(filePath, ENAMETOOLONG);
        return;
    }
    m_fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd >= 0)
        return;
    const QString folderName = QFile::decodeName(folder);
    // Without O_DIRECTORY taking precedence, Linux says ELOOP and others ENOTDIR for a link.
    if (errno == ELOOP || errno == ENOTDIR)
        m_error =
            QStringLiteral("フォルダ %1 は通常のフォルダではないため、その中に書き込めません。")
                .arg(folderName);
    else
        m_error = QStringLiteral("フォルダ %1 を開けません。(%2)")
                      .arg(folderName, qt_error_string(errno));
}

FolderOf::~FolderOf()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FolderOf::open(const QByteArray &name, int flags, mode_t mode) const
{
    return ::openat(m_fd, name.constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
}

bool FolderOf::sync() const
{
    return ::fsync(m_fd) == 0;
}

QString cannotWrite(const QString &path, int error)
{
    if (error == ELOOP)
        return QStringLiteral("ファイル %1 はリンクのため書き込めません。").arg(path);
    return QStringLiteral("ファイル %1 に書き込めません。(%2)").arg(path, qt_error_string(error));
}

bool writeAllAt(int fd, const char *data, qint64 size, qint64 offset)
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

} // namespace queldo::posix
