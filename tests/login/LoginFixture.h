#pragma once

#include "app/AppPaths.h"
#include "app/MessageWindow.h"
#include "app/TNewID.h"
#include "app/TNewIDorNo.h"
#include "app/TPasswordDlg.h"
#include "settings/LiveSettings.h"

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
/// of relative paths.
struct LoginFixture
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    LiveSettings settings;
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
        login = std::make_unique<TPasswordDlg>(paths, settings);
        paths.enterImagesFolder();
        question = new TNewIDorNo(login.get());
        newId = new TNewID(paths, *login, login.get());
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

/// Answers the next modal window by the given action and records what it showed. Destroying it
/// before a modal window came up cancels the answer.
struct ModalAnswer
{
    QString className;
    QString title;
    QStringList lines;
    QTimer timer;
    int attempts = 0;

    explicit ModalAnswer(std::function<void(QWidget *)> action)
    {
        timer.setSingleShot(true);
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this, action] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) {
                if (++attempts < 200)
                    timer.start(10);
                return;
            }
            className = QString::fromLatin1(modal->metaObject()->className());
            title = modal->windowTitle();
            if (auto *message = qobject_cast<MessageWindow *>(modal))
                lines = message->lines();
            action(modal);
        });
        timer.start();
    }

    static std::function<void(QWidget *)> click(const char *buttonName)
    {
        return [buttonName](QWidget *modal) {
            if (auto *button = modal->findChild<QPushButton *>(QString::fromLatin1(buttonName)))
                button->click();
        };
    }
    static std::function<void(QWidget *)> closeBox()
    {
        return [](QWidget *modal) { modal->close(); };
    }
};

} // namespace queldo::test
