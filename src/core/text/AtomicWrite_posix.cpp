#include "core/text/AtomicWrite.h"

#include "core/text/StaleTemporaries.h"
#include "core/text/UserFolder_posix.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace queldo {

namespace {

mode_t modeOf(QFileDevice::Permissions permissions)
{
    mode_t mode = 0;
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR},  {QFileDevice::WriteOwner, S_IWUSR},
        {QFileDevice::ExeOwner, S_IXUSR},   {QFileDevice::ReadGroup, S_IRGRP},
        {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH},  {QFileDevice::WriteOther, S_IWOTH},
        {QFileDevice::ExeOther, S_IXOTH},
    };
    for (const auto &[permission, bit] : bits)
        if (permissions.testFlag(permission))
            mode |= bit;
    return mode;
}

// The name of a temporary file beside `name`: the target's name, a dot and six letters.
QByteArray temporaryName(const QByteArray &name)
{
    QByteArray suffix(6, 'a');
    for (char &c : suffix) {
        const quint32 n = QRandomGenerator::system()->bounded(52);
        c = char(n < 26 ? 'A' + n : 'a' + (n - 26));
    }
    return name + '.' + suffix;
}

} // namespace

QString writeFileAtomically(const QString &path, const QByteArray &bytes,
                            QFileDevice::Permissions permissions)
{
    const posix::FolderOf folder(path);
    if (!folder.ok())
        return folder.error();
    struct stat target = {};
    const bool exists =
        ::fstatat(folder.fd(), folder.name().constData(), &target, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISLNK(target.st_mode))
        return posix::cannotWrite(path, ELOOP);
    if (exists && !S_ISREG(target.st_mode))
        return QStringLiteral("ファイル %1 は通常のファイルではないため書き込めません。").arg(path);

    // A new file gets the usual permissions (the umask applies at creation); otherwise the file
    // is made for its owner alone until its final permissions are set, so the content is never
    // readable by others even for a moment.
    const bool setMode = permissions || exists;
    const mode_t mode = permissions ? modeOf(permissions) : (target.st_mode & 07777);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = temporaryName(folder.name());
        fd = folder.open(temporary, O_WRONLY | O_CREAT | O_EXCL, setMode ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return posix::cannotWrite(path, errno);
    int error = 0;
    if ((setMode && ::fchmod(fd, mode) != 0) ||
        !posix::writeAllAt(fd, bytes.constData(), bytes.size(), 0) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // renameat replaces whatever lies at the name, a link put there meanwhile included, and never
    // writes through it.
    if (error == 0 &&
        ::renameat(folder.fd(), temporary.constData(), folder.fd(), folder.name().constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlinkat(folder.fd(), temporary.constData(), 0);
        return posix::cannotWrite(path, error);
    }
    folder.sync();
    // A write killed at the wrong moment leaves its temporary file behind; nothing else would
    // ever remove it.
    removeStaleTemporaries(QFileInfo(path).absolutePath(), QDateTime::currentDateTimeUtc());
    return {};
}

} // namespace queldo
