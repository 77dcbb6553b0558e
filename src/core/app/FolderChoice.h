#pragma once

#include <QString>

namespace queldo {

/// What the program knows at start-up about where it could keep its problems and results.
struct FolderFacts
{
    /// The folder named on the command line, absolute; empty when none was.
    QString namedFolder;
    QString executableFolder;
    bool executableFolderWritable = false;
    /// The package's shared files (help, sample problems) lie in share/queldo beside the
    /// executable's folder: a program installed for everyone, whatever its folder's permissions.
    QString installedShareFolder;
    /// The data folder remembered in the user's configuration; empty before the first choice.
    QString rememberedDataFolder;
    /// It is still a folder the program can write to (a shared drive may be unmounted).
    bool rememberedDataFolderUsable = false;
    /// Where the program was started.
    QString startFolder;

    /// Fills in what the file system says about these folders.
    static FolderFacts gather(const QString &namedFolder, const QString &executableFolder,
                              const QString &rememberedDataFolder, const QString &startFolder);
};

/// Where the problems (Images) and the trainees' folders (Result) are taken from for this run.
struct FolderChoice
{
    enum class Kind {
        /// A program folder laid out by hand: Images and Result beside the program, the user
        /// list from the start folder's Result.
        ProgramFolder,
        /// The folder named on the command line, for this run only.
        NamedFolder,
        /// The data folder the user chose once.
        DataFolder,
        /// An installed program without a usable data folder: one has to be chosen.
        AskForDataFolder,
    };

    Kind kind = Kind::AskForDataFolder;
    QString programFolder;
    QString startFolder;
    /// Where the help pages lie.
    QString helpFolder;
    /// The installed sample problems to copy into Images where they are missing; empty for a
    /// folder laid out by hand.
    QString sampleProblems;
    /// When asking: the remembered folder that can no longer be used, to say so.
    QString unusableDataFolder;
};

FolderChoice chooseFolders(const FolderFacts &facts);

/// The choice once a data folder has been picked.
FolderChoice dataFolderChoice(const FolderFacts &facts, const QString &dataFolder);

} // namespace queldo
