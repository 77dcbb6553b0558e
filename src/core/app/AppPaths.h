#pragma once

#include <QDir>
#include <QString>

namespace queldo {

/// Where everything lies: the program folder, the folder the program was started in, the problem
/// library and the user folders. Relative paths are resolved here rather than by changing the
/// process's working folder.
class AppPaths
{
public:
    AppPaths(const QString &programFolder, const QString &startFolder);

    QString programFolder() const { return m_programFolder; }
    QString startFolder() const { return m_startFolder; }
    /// Where the help pages lie: the program folder unless the program is installed, whose help
    /// is shared by every data folder.
    QString helpFolder() const { return m_helpFolder.isEmpty() ? m_programFolder : m_helpFolder; }
    void setHelpFolder(const QString &folder) { m_helpFolder = folder; }

    /// The folder later relative paths resolve against: the start folder's Images, or the start
    /// folder itself when it has none.
    QString imagesFolder() const;
    /// Makes Images the folder of relative paths, as the settings dialog does once it exists.
    void enterImagesFolder();
    QString currentFolder() const { return m_currentFolder; }

    /// The Result folder the user list is read from (beside the start folder's Images).
    QString startResultFolder() const;

    /// "..\Result\ID\ID.ext" against the current folder; the start folder's Result while that
    /// is still the current folder (it has no Images).
    QString relativeUserFile(const QString &id, const QString &extension) const;
    /// Names the missing problem folder when the start folder has no Images; empty otherwise.
    QString missingImagesFolderMessage() const;
    /// Program folder + "result\ID\ID.ext".
    QString programUserFile(const QString &id, const QString &extension) const;
    /// The user folder in its program-folder form.
    QString programUserFolder(const QString &id) const;
    /// The Result folder under the program folder, whatever its letter case on disk.
    QString programResultFolder() const;

    /// Joins path components under base, matching each against what exists without regard to
    /// letter case, as the file systems the program was first written for do.
    static QString resolveCaseInsensitive(const QString &base, const QStringList &components);

private:
    QString m_programFolder;
    QString m_startFolder;
    QString m_currentFolder;
    QString m_helpFolder;
};

} // namespace queldo
