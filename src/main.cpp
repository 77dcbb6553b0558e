#include "core/app/SingleInstanceLock.h"
#include "ui/app/ProgramWindows.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    queldo::SingleInstanceLock lock(QStringLiteral("ApplicationTitle"));
    if (lock.anotherCopyRuns()) {
        std::fputs("QUELDO は既に起動しています。\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    // No display name: the window system would append it to every caption.
    QApplication::setApplicationName(QStringLiteral("QUELDO"));

    queldo::ProgramWindows windows(QCoreApplication::applicationDirPath(), QDir::currentPath(),
                                   quint32(QDateTime::currentMSecsSinceEpoch()));
    windows.start();
    return app.exec();
}
