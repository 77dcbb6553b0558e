#include "core/app/UserList.h"

#include <QDir>

namespace queldo {

QStringList readUserList(const QString &resultFolder)
{
    const QDir dir(resultFolder);
    if (!dir.exists())
        return {};
    return dir.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
}

} // namespace queldo
