#pragma once

// The program's windows made afresh in a program folder and logged in, as at the start of a
// trainee's session: shared by the benchmarks that open the program's own windows.

#include "ui/app/ProgramWindows.h"
#include "ui/app/TPasswordDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace queldo::bench {

/// As a trainee does, the ID is typed once the login window is on the screen, by when the
/// program has made the windows it makes while waiting.
inline void waitAtTheLogin()
{
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

inline std::unique_ptr<ProgramWindows> loggedIn(const QString &folder, const QString &id,
                                                const QString &password)
{
    auto windows = std::make_unique<ProgramWindows>(folder, folder, 1);
    windows->start();
    waitAtTheLogin();
    TPasswordDlg &login = windows->login();
    login.findChild<QLineEdit *>(QStringLiteral("ID"))->setText(id);
    login.findChild<QLineEdit *>(QStringLiteral("Password"))->setText(password);
    login.findChild<QPushButton *>(QStringLiteral("OKBtn"))->click();
    QApplication::processEvents();
    return windows;
}

} // namespace queldo::bench
