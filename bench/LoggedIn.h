#pragma once

// The program's windows made afresh in a program folder and logged in, as at the start of a
// trainee's session: shared by the benchmarks that open the program's own windows.

#include "ui/app/ProgramWindows.h"
#include "ui/app/TPasswordDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace queldo::bench {

inline std::unique_ptr<ProgramWindows> loggedIn(const QString &folder, const QString &id,
                                                const QString &password)
{
    auto windows = std::make_unique<ProgramWindows>(folder, folder, 1);
    windows->start();
    windows->login().ID->setText(id);
    windows->login().Password->setText(password);
    windows->login().OKBtn->click();
    QApplication::processEvents();
    return windows;
}

} // namespace queldo::bench
