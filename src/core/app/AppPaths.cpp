#include "core/app/AppPaths.h"

#include <QDirIterator>
#include <QFileInfo>

namespace queldo {

AppPaths::AppPaths(const QString &programFolder, const QString &startFolder)
    : m_programFolder(QDir::cleanPath(QDir(programFolder).absolutePath())),
      m_startFolder(QDir::cleanPath(QDir(startFolder).absolutePath())),
      m_currentFolder(m_startFolder)
{
}

QString AppPaths::imagesFolder() const
{
    const QString images = resolveCaseInsensitive(m_startFolder, {QStringLiteral("Images")});
    return QFileInfo(images).isDir() ? images : m_startFolder;
}

void AppPaths::enterImagesFolder()
{
    m_currentFolder = imagesFolder();
}

QString AppPaths::startResultFolder() const
{
    return resolveCaseInsensitive(m_startFolder, {QStringLiteral("Result")});
}

QString AppPaths::relativeUserFile(const QString &id, const QString &extension) const
{
    // Without an Images folder "..\Result" would lead out of the installation, to a folder that
    // is not the one the user list came from: the trainee's files are beside that list.
    const QString parent = m_currentFolder == m_startFolder
                               ? m_startFolder
                               : QDir::cleanPath(m_currentFolder + QStringLiteral("/.."));
    return resolveCaseInsensitive(parent, {QStringLiteral("Result"), id, id + extension});
}

QString AppPaths::missingImagesFolderMessage() const
{
    const QString images = resolveCaseInsensitive(m_startFolder, {QStringLiteral("Images")});
    if (QFileInfo(images).isDir())
        return {};
    return QStringLiteral("問題フォルダ %1 がありません。").arg(QDir::toNativeSeparators(images));
}

QString AppPaths::programUserFile(const QString &id, const QString &extension) const
{
    // Spelled as the relative form spells it, so that with both "Result" and "result" on disk
    // the two forms still reach the same folder.
    return resolveCaseInsensitive(m_programFolder, {QStringLiteral("Result"), id, id + extension});
}

QString AppPaths::programUserFolder(const QString &id) const
{
    return resolveCaseInsensitive(m_programFolder, {QStringLiteral("Result"), id});
}

QString AppPaths::programResultFolder() const
{
    return resolveCaseInsensitive(m_programFolder, {QStringLiteral("Result")});
}

QString AppPaths::resolveCaseInsensitive(const QString &base, const QStringList &components)
{
    QString path = base;
    for (const QString &component : components) {
        const QString exact = path + QLatin1Char('/') + component;
        if (QFileInfo::exists(exact)) {
            path = exact;
            continue;
        }
        // Several spellings may exist; the first in code-point order is taken, so every caller
        // that names the same component reaches the same entry.
        QString found;
        QDirIterator it(path,
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            if (it.fileName().compare(component, Qt::CaseInsensitive) == 0 &&
                (found.isEmpty() || it.filePath() < found))
                found = it.filePath();
        }
        path = found.isEmpty() ? exact : found;
    }
    return path;
}

} // namespace queldo
