#include "core/app/FolderChoice.h"

#include <QDir>
#include <QFileInfo>

namespace queldo {

namespace {

bool isWritableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString installedImages(const FolderFacts &facts)
{
    return facts.installedShareFolder.isEmpty()
               ? QString()
               : facts.installedShareFolder + QStringLiteral("/Images");
}

} // namespace

FolderFacts FolderFacts::gather(const QString &namedFolder, const QString &executableFolder,
                                const QString &rememberedDataFolder, const QString &startFolder)
{
    FolderFacts facts;
    facts.namedFolder = namedFolder;
    facts.executableFolder = QDir::cleanPath(executableFolder);
    facts.executableFolderWritable = isWritableFolder(executableFolder);
    const QString share = QDir::cleanPath(executableFolder + QStringLiteral("/../share/queldo"));
    if (QFileInfo(share).isDir())
        facts.installedShareFolder = share;
    facts.rememberedDataFolder = rememberedDataFolder;
    facts.rememberedDataFolderUsable =
        !rememberedDataFolder.isEmpty() && isWritableFolder(rememberedDataFolder);
    facts.startFolder = startFolder;
    return facts;
}

FolderChoice dataFolderChoice(const FolderFacts &facts, const QString &dataFolder)
{
    FolderChoice choice;
    choice.kind = FolderChoice::Kind::DataFolder;
    choice.programFolder = dataFolder;
    // The program is started from a menu in whatever folder the desktop likes: the user list
    // is the data folder's own.
    choice.startFolder = dataFolder;
    choice.helpFolder =
        facts.installedShareFolder.isEmpty() ? facts.executableFolder : facts.installedShareFolder;
    choice.sampleProblems = installedImages(facts);
    return choice;
}

FolderChoice chooseFolders(const FolderFacts &facts)
{
    if (!facts.namedFolder.isEmpty()) {
        FolderChoice choice = dataFolderChoice(facts, facts.namedFolder);
        choice.kind = FolderChoice::Kind::NamedFolder;
        return choice;
    }
    // A package's program is never a program folder, even for root, who may write to /usr/bin:
    // Images and Result there would be outside every package and every trainee's reach.
    if (facts.installedShareFolder.isEmpty() && facts.executableFolderWritable) {
        FolderChoice choice;
        choice.kind = FolderChoice::Kind::ProgramFolder;
        choice.programFolder = facts.executableFolder;
        choice.startFolder = facts.startFolder;
        choice.helpFolder = facts.executableFolder;
        return choice;
    }
    if (facts.rememberedDataFolderUsable)
        return dataFolderChoice(facts, facts.rememberedDataFolder);
    FolderChoice choice;
    choice.kind = FolderChoice::Kind::AskForDataFolder;
    choice.unusableDataFolder = facts.rememberedDataFolder;
    return choice;
}

} // namespace queldo
