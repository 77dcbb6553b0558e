#include "core/text/StaleTemporaries.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace queldo {

namespace {

// Qt draws the unique part of a temporary name from the letters A-Z and a-z alone.
constexpr qsizetype UniquePartLength = 6;

bool isUniquePart(QStringView part)
{
    if (part.size() != UniquePartLength)
        return false;
    for (const QChar c : part) {
        const char16_t u = c.unicode();
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')))
            return false;
    }
    return true;
}

} // namespace

int removeStaleTemporaries(const QString &folder, const QDateTime &now)
{
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QSet<QString> targets;
    for (const QFileInfo &entry : entries)
        targets.insert(entry.fileName());

    int removed = 0;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const qsizetype dot = name.size() - UniquePartLength - 1;
        if (dot <= 0 || name.at(dot) != u'.' || !isUniquePart(QStringView(name).mid(dot + 1)))
            continue;
        if (!targets.contains(name.left(dot)) || entry.isSymLink() || !entry.isFile())
            continue;
        if (entry.lastModified().secsTo(now) < StaleTemporaryAgeSeconds)
            continue;
        if (QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace queldo
