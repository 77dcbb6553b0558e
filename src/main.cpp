#include "app/AppPaths.h"
#include "app/SingleInstanceLock.h"
#include "board/SeededRandom.h"
#include "board/TForm1.h"
#include "settings/LiveSettings.h"

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

    queldo::AppPaths paths(QCoreApplication::applicationDirPath(), QDir::currentPath());
    paths.enterImagesFolder();
    queldo::SeededRandom random(quint32(QDateTime::currentMSecsSinceEpoch()));

    queldo::LiveSettings settings;
    queldo::TForm1 form(paths, settings, random);
    form.show();
    if (!form.library().isEmpty())
        form.Button2Click();
    return app.exec();
}
