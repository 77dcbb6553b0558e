#include "core/app/DataFolder.h"

#include "core/app/AppPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace queldo {

namespace {

const QString DataFolderKey = QStringLiteral("DataFolder");

QString cannotWrite(const QString &path)
{
    return QStringLiteral("%1 を作れません。").arg(QDir::toNativeSeparators(path));
}

/// Copies a folder's files and subfolders; false at the first that fails.
bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        const bool copied = entry.isDir() ? copyTree(entry.filePath(), target)
                                          : QFile::copy(entry.filePath(), target);
        if (!copied)
            return false;
    }
    return true;
}

/// A problem folder appears under its own name only once it is complete, so that a copy cut
/// short (a full disk, the program killed) is not taken for a problem on the next start.
QString copyProblemFolder(const QFileInfo &source, const QString &images)
{
    const QString target = images + QLatin1Char('/') + source.fileName();
    const QString partial =
        images + QStringLiteral("/.") + source.fileName() + QStringLiteral(".part");
    QDir(partial).removeRecursively();
    if (!copyTree(source.filePath(), partial) || !QDir().rename(partial, target)) {
        QDir(partial).removeRecursively();
        return cannotWrite(target);
    }
    return {};
}

} // namespace

QString layOutDataFolder(const QString &dataFolder, const QString &sampleProblems)
{
    const QString images = AppPaths::resolveCaseInsensitive(dataFolder, {QStringLiteral("Images")});
    const QString result = AppPaths::resolveCaseInsensitive(dataFolder, {QStringLiteral("Result")});
    for (const QString &folder : {images, result}) {
        if (!QDir().mkpath(folder))
            return cannotWrite(folder);
    }
    if (sampleProblems.isEmpty())
        return {};
    const QFileInfoList samples =
        QDir(sampleProblems)
            .entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &sample : samples) {
        if (QFileInfo::exists(AppPaths::resolveCaseInsensitive(images, {sample.fileName()})))
            continue;
        const QString error =
            sample.isDir()
                ? copyProblemFolder(sample, images)
                : (QFile::copy(sample.filePath(), images + QLatin1Char('/') + sample.fileName())
                       ? QString()
                       : cannotWrite(images + QLatin1Char('/') + sample.fileName()));
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString rememberedDataFolder(const QSettings &configuration)
{
    return configuration.value(DataFolderKey).toString();
}

void rememberDataFolder(QSettings &configuration, const QString &dataFolder)
{
    configuration.setValue(DataFolderKey, dataFolder);
    configuration.sync();
}

} // namespace queldo
