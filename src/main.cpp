#include "core/app/SingleInstanceLock.h"
#include "core/app/StartOptions.h"
#include "ui/app/ProgramWindows.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Before the lock and the display: --help and --version answer anywhere, at any time.
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

    const QString programFolder =
        options.folder.isEmpty() ? QCoreApplication::applicationDirPath() : options.folder;
    const QString startFolder = options.folder.isEmpty() ? QDir::currentPath() : options.folder;
    queldo::ProgramWindows windows(programFolder, startFolder,
                                   quint32(QDateTime::currentMSecsSinceEpoch()));
    windows.start();
    return app.exec();
}
