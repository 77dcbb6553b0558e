#include "core/app/UserList.h"

#include <QDir>

namespace queldo {

UserList UserList::read(const QString &resultFolder)
{
    UserList list;
    const QDir dir(resultFolder);
    if (dir.exists())
        list.m_ids = dir.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    return list;
}

} // namespace queldo
