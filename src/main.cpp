#include "core/app/DataFolder.h"
#include "core/app/FolderChoice.h"
#include "core/app/SingleInstanceLock.h"
#include "core/app/StartOptions.h"
#include "ui/app/DataFolderQuestion.h"
#include "ui/app/ProgramWindows.h"
#include "ui/common/QtTranslations.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QSettings>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Before the lock and the display: --help and --version answer anywhere, at
    // any time.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const queldo::StartOptions options = queldo::parseStartOptions(arguments, QDir::currentPath());
    switch (options.action) {
    case queldo::StartOptions::Action::PrintVersion:
    case queldo::StartOptions::Action::PrintHelp:
        std::fputs(options.text.toLocal8Bit().constData(), stdout);
        return 0;
    case queldo::StartOptions::Action::Refuse:
        std::fputs(options.text.toLocal8Bit().constData(), stderr);
        return 2;
    case queldo::StartOptions::Action::Run:
        break;
    }

    queldo::SingleInstanceLock lock(QStringLiteral("ApplicationTitle"));
    if (lock.anotherCopyRuns()) {
        std::fputs("QUELDO は既に起動しています。\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    // No display name: the window system would append it to every caption.
    QApplication::setApplicationName(QStringLiteral("QUELDO"));
    // The toolkit's own dialogs (choosing a folder, printing) speak the program's language,
    // from the first question on.
    queldo::installQtTranslations();

    // ~/.config/QUELDO/QUELDO.conf, over /etc/xdg/QUELDO/QUELDO.conf for a whole
    // machine.
    QSettings configuration(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QUELDO"),
                            QStringLiteral("QUELDO"));
    const std::optional<queldo::FolderChoice> folders =
        queldo::settleFolders(queldo::FolderFacts::gather(
                                  options.folder, QCoreApplication::applicationDirPath(),
                                  queldo::rememberedDataFolder(configuration), QDir::currentPath()),
                              configuration, QDir::home().filePath(QStringLiteral("QUELDO")));
    if (!folders)
        return 1;

    queldo::ProgramWindows windows(folders->programFolder, folders->startFolder,
                                   quint32(QDateTime::currentMSecsSinceEpoch()));
    windows.paths().setHelpFolder(folders->helpFolder);
    windows.start();
    return app.exec();
}
