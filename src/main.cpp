#include "app/AppPaths.h"
#include "app/SingleInstanceLock.h"
#include "app/TAboutBox.h"
#include "app/TNewID.h"
#include "app/TNewIDorNo.h"
#include "app/TPasswordDlg.h"
#include "board/SeededRandom.h"
#include "board/TForm1.h"
#include "settings/LiveSettings.h"
#include "settings/TPagesDlg.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>

#include <memory>

int main(int argc, char *argv[])
{
    queldo::SingleInstanceLock lock(QStringLiteral("ApplicationTitle"));
    if (!lock.acquired())
        return 1;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUELDO"));
    QApplication::setApplicationDisplayName(QStringLiteral("QUELDO"));

    queldo::AppPaths paths(QCoreApplication::applicationDirPath(), QDir::currentPath());
    queldo::LiveSettings settings;
    queldo::SeededRandom random(quint32(QDateTime::currentMSecsSinceEpoch()));

    // The long-lived windows, in the order the program has always made them: the login dialog
    // reads the user list from the start folder before the settings dialog settles on Images.
    queldo::TPasswordDlg login(paths, settings);
    queldo::TAboutBox about;
    queldo::TPagesDlg pages(paths, settings);
    queldo::TNewIDorNo question(&login);
    queldo::TNewID newId(paths, login, &login);
    login.setNewIdWindows(&question, &newId);
    QObject::connect(&login, &queldo::TPasswordDlg::quitRequested, &app, &QApplication::quit);

    std::unique_ptr<queldo::TForm1> form;
    QObject::connect(&login, &queldo::TPasswordDlg::loggedIn, [&](const QString &id) {
        if (form)
            return;
        form = std::make_unique<queldo::TForm1>(paths, settings, random);
        form->UserId = id;
        form->N1->setChecked(settings.cheat);
        form->openSettings = [&] { pages.exec(); };
        QObject::connect(&pages, &queldo::TPagesDlg::settingsApplied, form.get(),
                         &queldo::TForm1::applySettingsDialog);
        pages.setUserId(id);
        pages.syncFromSettings();
        form->show();
    });

    login.show();
    return app.exec();
}
