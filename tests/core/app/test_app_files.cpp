#include "core/app/AppPaths.h"
#include "core/app/PasswordFile.h"
#include "core/app/SingleInstanceLock.h"
#include "core/app/UserList.h"
#include "core/app/WindowMemory.h"
#include "core/text/Cp932Text.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/file.h>

using namespace queldo;

class TestAppFiles : public QObject
{
    Q_OBJECT
private slots:
    void bothPathFormsNameOneFile()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("Images");
        root.mkpath("Result/Taro");
        QVERIFY(writeCp932Lines(root.filePath("Result/Taro/Taro.pas"), {"pw"}).isEmpty());
        AppPaths paths(dir.path(), dir.path());
        paths.enterImagesFolder();
        QCOMPARE(paths.currentFolder(), root.filePath("Images"));
        const QString relative = paths.relativeUserFile("Taro", ".pas");
        const QString program = paths.programUserFile("Taro", ".pas");
        QCOMPARE(QFileInfo(relative).canonicalFilePath(), QFileInfo(program).canonicalFilePath());
        QVERIFY(QFileInfo::exists(program));
    }

    void startFolderWithoutImagesResolvesAgainstItself()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("start/Result/Hanako");
        root.mkpath("Result/Hanako");
        AppPaths paths(dir.path(), root.filePath("start"));
        paths.enterImagesFolder();
        QCOMPARE(paths.imagesFolder(), root.filePath("start"));
        QCOMPARE(UserList::read(paths.startResultFolder()).ids(), QStringList{"Hanako"});
        // "..\Result" from the start folder itself is the parent's Result.
        QCOMPARE(paths.relativeUserFile("Hanako", ".kek"),
                 root.filePath("Result/Hanako/Hanako.kek"));
    }

    void userListTakesFoldersAndFilesButNotHiddenOnes()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("Result/a");
        root.mkpath("Result/.hidden");
        QFile plain(root.filePath("Result/note.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QStringList users = UserList::read(root.filePath("Result")).ids();
        users.sort();
        QCOMPARE(users, (QStringList{"a", "note.txt"}));
        QVERIFY(UserList::read(root.filePath("missing")).ids().isEmpty());
    }

    void passwordFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");
        QTest::newRow("legacy crlf") << QByteArray("secret\r\nother\r\n") << "secret" << true;
        QTest::newRow("legacy lf") << QByteArray("secret\n") << "secret" << true;
        QTest::newRow("legacy case differs") << QByteArray("secret\r\n") << "Secret" << false;
        QTest::newRow("only first line counts") << QByteArray("a\r\nb\r\n") << "b" << false;
    }
    void passwordFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        QTemporaryDir dir;
        QFile file(dir.filePath("x.pas"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const StoredPassword stored = readPasswordFile(file.fileName());
        QVERIFY(stored.ok());
        QCOMPARE(passwordMatches(stored.line, typed), matches);
    }

    void writtenPasswordsAreSaltedHashes()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.pas"), b = dir.filePath("b.pas");
        QVERIFY(writePasswordFile(a, QStringLiteral("ひみつ")).isEmpty());
        QVERIFY(writePasswordFile(b, QStringLiteral("ひみつ")).isEmpty());
        const QString lineA = readPasswordFile(a).line;
        QVERIFY(!lineA.contains(QStringLiteral("ひみつ")));
        QVERIFY(lineA != readPasswordFile(b).line); // salted
        QVERIFY(passwordMatches(lineA, QStringLiteral("ひみつ")));
        QVERIFY(!passwordMatches(lineA, QStringLiteral("ひみつ ")));
        QVERIFY(!readPasswordFile(dir.filePath("missing.pas")).ok());
    }

    void secondCopyExitsWithOne()
    {
        QTemporaryDir runtime;
        SingleInstanceLock first("ApplicationTitle", runtime.path());
        QVERIFY(!first.anotherCopyRuns());
        SingleInstanceLock second("ApplicationTitle", runtime.path());
        QVERIFY(second.anotherCopyRuns());

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(runtime.path());
        program.start(QUELDO_EXECUTABLE, {});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().contains("QUELDO は既に起動しています。"));
    }

    void otherAccountsNeverBlockTheLock()
    {
        QTemporaryDir runtime;
        // Another account's copy holds its own lock file in the same folder.
        const QString other = runtime.filePath("queldo-4242-ApplicationTitle.lock");
        QFile otherFile(other);
        QVERIFY(otherFile.open(QIODevice::ReadWrite));
        QVERIFY(::flock(otherFile.handle(), LOCK_EX | LOCK_NB) == 0);
        QVERIFY(SingleInstanceLock::lockPath("ApplicationTitle", runtime.path()) != other);
        SingleInstanceLock mine("ApplicationTitle", runtime.path());
        QVERIFY(!mine.anotherCopyRuns());

        // A lock path that cannot be a lock file (here a folder) does not stop the program.
        QTemporaryDir blocked;
        QVERIFY(QDir().mkpath(SingleInstanceLock::lockPath("ApplicationTitle", blocked.path())));
        SingleInstanceLock unusable("ApplicationTitle", blocked.path());
        QVERIFY(!unusable.anotherCopyRuns());
    }

    void lockIsFreedWithItsHolder()
    {
        QTemporaryDir runtime;
        {
            SingleInstanceLock first("ApplicationTitle", runtime.path());
            QVERIFY(!first.anotherCopyRuns());
        }
        SingleInstanceLock again("ApplicationTitle", runtime.path());
        QVERIFY(!again.anotherCopyRuns());
    }

    void windowMemoryRoundTripsAndRefusesDamage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("usable");
        QTest::newRow("written by the program") << QByteArray("10,20,1200,900,1\r\n") << true;
        QTest::newRow("too small") << QByteArray("10,20,200,100,0\r\n") << false;
        QTest::newRow("not numbers") << QByteArray("a,b,c,d,e\r\n") << false;
        QTest::newRow("short") << QByteArray("10,20,1200\r\n") << false;
        QTest::newRow("odd maximised flag") << QByteArray("10,20,1200,900,7\r\n") << false;
        QTest::newRow("empty") << QByteArray("") << false;
    }
    void windowMemoryRoundTripsAndRefusesDamage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, usable);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.win");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const auto read = readWindowMemory(path);
        QCOMPARE(read.has_value(), usable);
        if (!read)
            return;
        QCOMPARE(read->geometry, QRect(10, 20, 1200, 900));
        QVERIFY(read->maximised);
        QVERIFY(writeWindowMemory(path, *read).isEmpty());
        QCOMPARE(readWindowMemory(path), read);
        // Restored only while its caption row is on a screen.
        QVERIFY(usableOn(*read, QRect(0, 0, 1920, 1080)));
        QVERIFY(!usableOn(*read, QRect(2000, 0, 1920, 1080)));
        QVERIFY(!readWindowMemory(dir.filePath("missing.win")));
    }
};

QTEST_GUILESS_MAIN(TestAppFiles)
#include "test_app_files.moc"
