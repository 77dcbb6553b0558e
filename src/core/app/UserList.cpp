#include "core/app/UserList.h"

#include "core/app/UserIdForm.h"

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

QStringList UserList::lookAlikes(const QString &id) const
{
    const QString key = userIdKey(id);
    QStringList found;
    for (const QString &listed : m_ids) {
        if (userIdKey(listed) == key)
            found << listed;
    }
    return found;
}

} // namespace queldo
