#include "core/app/AppPaths.h"
#include "core/app/PasswordFile.h"
#include "core/app/SingleInstanceLock.h"
#include "core/app/UserFiles.h"
#include "core/app/UserList.h"
#include "core/app/WindowMemory.h"
#include "core/text/Cp932Text.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/file.h>

using namespace queldo;

namespace {

// The permission bits as the file system stores them, without Qt's view of the current user.
QFileDevice::Permissions ownerGroupOther(const QString &path)
{
    return QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                       QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                       QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

} // namespace

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

    void userFilesInBothForms_data()
    {
        QTest::addColumn<UserFile>("file");
        QTest::addColumn<QString>("name");
        QTest::newRow("results") << UserFile::Results << "Taro.kek";
        QTest::newRow("arrangements") << UserFile::Arrangements << "Taro.arr";
        QTest::newRow("abnormal attempts") << UserFile::AbnormalAttempts << "Taro.kry";
        QTest::newRow("settings") << UserFile::Settings << "Taro.set";
        QTest::newRow("password") << UserFile::Password << "Taro.pas";
        QTest::newRow("answer options") << UserFile::AnswerOptions << "Taro.opt";
        QTest::newRow("window") << UserFile::WindowPlacement << "Taro.win";
        QTest::newRow("session") << UserFile::SessionMark << "Taro.session";
    }

    /// Started elsewhere than the program folder, the two forms name two installations' files.
    void userFilesInBothForms()
    {
        QFETCH(UserFile, file);
        QFETCH(QString, name);
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("program");
        root.mkpath("start/Images");
        AppPaths paths(root.filePath("program"), root.filePath("start"));
        paths.enterImagesFolder();
        const UserFiles files(paths, "Taro");
        QCOMPARE(files.id(), "Taro");
        QCOMPARE(userFileName("Taro", file), name);
        QCOMPARE(files.relative(file), root.filePath("start/Result/Taro/") + name);
        QCOMPARE(files.program(file), root.filePath("program/Result/Taro/") + name);
        QCOMPARE(files.programFolder(), root.filePath("program/Result/Taro"));
    }

    void startFolderWithoutImagesKeepsItsOwnResult()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("start/Result/Hanako");
        root.mkpath("Result/Hanako");
        AppPaths paths(dir.path(), root.filePath("start"));
        paths.enterImagesFolder();
        QCOMPARE(paths.imagesFolder(), root.filePath("start"));
        QCOMPARE(UserList::read(paths.startResultFolder()).ids(), QStringList{"Hanako"});
        // Not "..\Result" from the start folder, which is another installation's (or nobody's):
        // the files of the trainees in the user list.
        QCOMPARE(paths.relativeUserFile("Hanako", ".kek"),
                 root.filePath("start/Result/Hanako/Hanako.kek"));
        const QString missing = paths.missingImagesFolderMessage();
        QVERIFY2(missing.contains(QDir::toNativeSeparators(root.filePath("start/Images"))),
                 qPrintable(missing));

        root.mkpath("start/images");
        QVERIFY(paths.missingImagesFolderMessage().isEmpty());
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

    // A tampered or copied password file must not make the login allocate gigabytes or spin for
    // minutes: a hash asking for more than the program's own cost is a damaged file, unread.
    void costlyHashesAreRefusedUnchecked_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("readable");
        QTest::newRow("as written") << ""
                                    << "" << true;
        QTest::newRow("fewer passes") << "t=2,"
                                      << "t=1," << true;
        QTest::newRow("4 GiB of memory") << "m=65536,"
                                         << "m=4194304," << false;
        QTest::newRow("256 MiB of memory") << "m=65536,"
                                           << "m=262144," << false;
        QTest::newRow("200 passes") << "t=2,"
                                    << "t=200," << false;
        QTest::newRow("memory beyond 32 bits") << "m=65536,"
                                               << "m=99999999999," << false;
        QTest::newRow("four lanes") << "p=1$"
                                    << "p=4$" << false;
        QTest::newRow("no cost at all") << "m=65536,t=2,p=1$"
                                        << "$" << false;
        QTest::newRow("another variant") << "$argon2id$"
                                         << "$argon2i$" << false;
    }
    void costlyHashesAreRefusedUnchecked()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath("x.pas");
        QVERIFY(writePasswordFile(path, "pw").isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("$argon2id$v=19$m=65536,t=2,p=1$"));
        bytes.replace(from.toLatin1(), to.toLatin1());
        const StoredPassword stored = parsePasswordFile(bytes, path);
        QCOMPARE(stored.ok(), readable);
        if (!readable) {
            QVERIFY(stored.error.contains(path));
            QVERIFY(!passwordMatches(QString::fromLatin1(bytes.trimmed()), "pw"));
        } else if (from.isEmpty()) {
            QVERIFY(passwordMatches(stored.line, "pw"));
        }
    }

    void writtenPasswordsAreSaltedHashes()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.pas"), b = dir.filePath("b.pas");
        // An older file, readable by everybody: rewriting it must not keep that.
        QFile old(a);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ひみつ");
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                   QFile::ReadOther));
        QVERIFY(writePasswordFile(a, QStringLiteral("ひみつ")).isEmpty());
        for (const QString &path : {a, b}) {
            if (path == b)
                QVERIFY(writePasswordFile(b, QStringLiteral("ひみつ")).isEmpty());
            QCOMPARE(ownerGroupOther(path), QFile::ReadOwner | QFile::WriteOwner);
        }
        QVERIFY(writePasswordFile(b, QStringLiteral("ひみつ")).isEmpty());
        const QString lineA = readPasswordFile(a).line;
        QVERIFY(!lineA.contains(QStringLiteral("ひみつ")));
        QVERIFY(lineA != readPasswordFile(b).line); // salted
        QVERIFY(passwordMatches(lineA, QStringLiteral("ひみつ")));
        QVERIFY(!passwordMatches(lineA, QStringLiteral("ひみつ ")));
        QVERIFY(!readPasswordFile(dir.filePath("missing.pas")).ok());
    }

    void legacyPasswordIsHashedOnceItLogsIn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.pas");
        QVERIFY(writeCp932Lines(path, {"secret"}).isEmpty());
        QFile file(path);
        auto bytes = [&] {
            file.open(QIODevice::ReadOnly);
            const QByteArray all = file.readAll();
            file.close();
            return all;
        };

        // Only the right password rewrites the file.
        QVERIFY(upgradeLegacyPassword(path, "secret", "Secret").isEmpty());
        QCOMPARE(bytes(), QByteArray("secret\r\n"));

        QVERIFY(upgradeLegacyPassword(path, "secret", "secret").isEmpty());
        const StoredPassword stored = readPasswordFile(path);
        QVERIFY(stored.ok());
        QVERIFY(stored.line.startsWith("$argon2id$"));
        QVERIFY(passwordMatches(stored.line, "secret"));
        QCOMPARE(ownerGroupOther(path), QFile::ReadOwner | QFile::WriteOwner);

        // A hash is left as it is.
        const QByteArray hashed = bytes();
        QVERIFY(upgradeLegacyPassword(path, stored.line, "secret").isEmpty());
        QCOMPARE(bytes(), hashed);
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
        QTest::newRow("maximised for a small screen") << QByteArray("10,20,1200,900,2\r\n") << true;
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
        QCOMPARE(usableOn(*read, QRect(0, 0, 1920, 1080))->geometry, QRect(10, 20, 1200, 900));
        QVERIFY(!usableOn(*read, QRect(2000, 0, 1920, 1080)));
        // Left on a larger screen: moved in, never above or left of the screen it is now on.
        QCOMPARE(usableOn(*read, QRect(0, 0, 1280, 1024))->geometry, QRect(10, 20, 1200, 900));
        QCOMPARE(usableOn({QRect(300, 200, 990, 780), false}, QRect(0, 0, 1280, 1024))->geometry,
                 QRect(290, 200, 990, 780));
        QCOMPARE(usableOn({QRect(145, 122, 990, 780), false}, QRect(0, 0, 1024, 768))->geometry,
                 QRect(34, 0, 990, 780));
        QVERIFY(!readWindowMemory(dir.filePath("missing.win")));
    }
};

QTEST_GUILESS_MAIN(TestAppFiles)
#include "test_app_files.moc"
