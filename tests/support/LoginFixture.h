#pragma once

#include "LoginControls.h"
#include "ModalAnswer.h"
#include "TraineeFixture.h"
#include "core/app/AppPaths.h"
#include "core/app/UserList.h"
#include "ui/app/TNewID.h"
#include "ui/app/TNewIDorNo.h"
#include "ui/app/TPasswordDlg.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace queldo::test {

/// A program folder with Images, user folders made by the test, and the login windows wired as
/// the program wires them: the login dialog reads the user list before Images becomes the folder
/// of relative paths, and a login that matches claims the trainee into `session` (kept for
/// another login of the same ID), which nothing is written for.
struct LoginFixture
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    UserList users;
    std::unique_ptr<TraineeSession> session;
    std::unique_ptr<TPasswordDlg> login;
    TNewIDorNo *question = nullptr;
    TNewID *newId = nullptr;

    explicit LoginFixture(bool withResult = true)
    {
        QDir root(dir.path());
        root.mkpath(QStringLiteral("Images"));
        if (withResult)
            root.mkpath(QStringLiteral("Result"));
    }

    LoginControls ui() const { return LoginControls(*login); }
    NewIdControls newIdUi() const { return NewIdControls(*newId); }
    QuestionControls questionUi() const { return QuestionControls(*question); }

    QString filePath(const QString &relative) const { return QDir(dir.path()).filePath(relative); }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        QDir(dir.path()).mkpath(QFileInfo(filePath(relative)).path());
        QFile file(filePath(relative));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QByteArray read(const QString &relative) const
    {
        QFile file(filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// A user folder with a plain-text password file, as older installations wrote it.
    void addUser(const QString &id, const QByteArray &passwordBytes,
                 const QByteArray &settingsBytes = "0\r\n0\r\n0\r\n0.699999988079071\r\n") const
    {
        const QString stem = QStringLiteral("Result/%1/%1").arg(id);
        if (!passwordBytes.isNull())
            write(stem + QStringLiteral(".pas"), passwordBytes);
        if (!settingsBytes.isNull())
            write(stem + QStringLiteral(".set"), settingsBytes);
        QDir(dir.path()).mkpath(QStringLiteral("Result/") + id);
    }

    void start()
    {
        users = UserList::read(paths.startResultFolder());
        paths.enterImagesFolder();
        login = std::make_unique<TPasswordDlg>(paths, users);
        login->claimTrainee = [this](const QString &id) {
            if (!session || session->id() != id)
                session = loggedInTrainee(paths, id);
            return session.get();
        };
        question = new TNewIDorNo(login.get());
        newId = new TNewID(paths, users, *login, login.get());
        login->setNewIdWindows(question, newId);
        login->show();
    }

    /// Every entry under the program folder with its size: equal snapshots mean nothing was
    /// written, made or left behind.
    QStringList snapshot() const
    {
        QStringList entries;
        QDirIterator it(dir.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            entries << QDir(dir.path()).relativeFilePath(it.filePath()) + QLatin1Char(' ') +
                           QString::number(it.fileInfo().isDir() ? -1 : it.fileInfo().size());
        }
        entries.sort();
        return entries;
    }
};

} // namespace queldo::test
