#include "core/app/SingleInstanceLock.h"
#include "ui/app/ProgramWindows.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>

int main(int argc, char *argv[])
{
    queldo::SingleInstanceLock lock(QStringLiteral("ApplicationTitle"));
    if (!lock.acquired())
        return 1;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUELDO"));
    QApplication::setApplicationDisplayName(QStringLiteral("QUELDO"));

    queldo::ProgramWindows windows(QCoreApplication::applicationDirPath(), QDir::currentPath(),
                                   quint32(QDateTime::currentMSecsSinceEpoch()));
    windows.start();
    return app.exec();
}
