#include "FileBytes.h"
#include "ProblemFixture.h"
#include "core/app/AppPaths.h"
#include "core/app/Login.h"
#include "core/app/NewUserId.h"
#include "core/app/PasswordFile.h"
#include "core/app/UserList.h"
#include "core/board/ProblemFolder.h"
#include "core/board/ProblemLoader.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "core/settings/SettingsFile.h"
#include "core/text/Cp932Text.h"
#include "core/text/StaleTemporaries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace queldo;
using namespace queldo::test;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Puts something that is not a regular file where a file of the program is expected.
void replaceBySpecialFile(const QString &path, const QString &kind)
{
    QFile::remove(path);
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"device link")
        QVERIFY(QFile::link("/dev/zero", path));
    else if (kind == u"folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == u"too large") { // sparse: costs no disk
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(2) * 1024 * 1024 * 1024));
    }
}

// Every file under a folder with its bytes, links named by what they point at.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo &entry = it.fileInfo();
        files[entry.filePath()] = entry.isSymLink()
                                      ? "-> " + QFile::encodeName(entry.symLinkTarget())
                                  : entry.isFile() ? fileBytes(entry.filePath())
                                                   : QByteArray("folder");
    }
    return files;
}

} // namespace

/// The program's files as a careless installer or a hostile user may leave them.
class TestFileSafety : public QObject
{
    Q_OBJECT
private slots:
    // Every reader of the program's files, handed something that is not a regular file: a
    // message, never a hang (FIFO), an endless read (a link to a device) or a huge allocation.
    void onlyRegularFilesAreRead_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("kind");
        for (const char *reader : {"text", "password", "settings", "results", "arrangement",
                                   "bitmap", "problem bitmap", "problem set"})
            for (const char *kind : {"fifo", "device link", "folder", "too large"})
                QTest::addRow("%s, %s", reader, kind) << reader << kind;
    }
    void onlyRegularFilesAreRead()
    {
        QFETCH(QString, reader);
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString name = knownProblemNames()[0];
        writeProblemFolder(dir.path(), name, {20, 6, 3});
        const QString problem = dir.filePath(name);
        const QString path = reader == u"problem bitmap" ? problem + "/5-2.bmp"
                             : reader == u"problem set"  ? problem + "/" + name + ".set"
                                                         : dir.filePath("x");
        replaceBySpecialFile(path, kind);

        QString error;
        if (reader == u"text")
            error = readCp932Lines(path).error;
        else if (reader == u"password")
            error = readPasswordFile(path).error;
        else if (reader == u"settings")
            error = SettingsFile::read(path).error;
        else if (reader == u"results")
            error = ResultsFile::read(path).error;
        else if (reader == u"arrangement")
            error = ArrangementFile::read(path).error;
        else if (reader == u"bitmap")
            error = readBitmapFile(path).error;
        else
            error = LoadProblem(QDir(dir.path()), name).error;
        QVERIFY(!error.isEmpty());
        if (kind != u"too large")
            QVERIFY2(error.contains(path), qPrintable(error));
    }

    // Every writer of a trainee's files, with a link planted at the file or in place of the
    // trainee's folder: the write is refused with a message naming what was refused, and no file
    // anywhere changes, least of all the one the link points at.
    void writesNeverFollowLinks_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("link");
        for (const char *writer :
             {"settings", "password", "legacy password at login", "results", "arrangement"})
            for (const char *link :
                 {"to a decoy file", "to another trainee's file", "in place of the folder"})
                QTest::addRow("%s, %s", writer, link) << writer << link;
    }
    void writesNeverFollowLinks()
    {
        QFETCH(QString, writer);
        QFETCH(QString, link);
        QTemporaryDir dir;
        const QDir root(dir.path());
        QVERIFY(root.mkpath("Images"));
        AppPaths paths(dir.path(), dir.path());
        QVERIFY(createUser(paths, "Hanako", "pw").created);
        const QString hanako = root.filePath("Result/Hanako/Hanako");
        QVERIFY(ArrangementFile::reset(hanako + ".arr").isEmpty());
        QVERIFY(writeBytes(hanako + ".pas", "pw\r\n")); // as an older installation kept it
        // Taro's files, or what the links point at: copies of Hanako's, so every reader accepts
        // them and only the refusal keeps them unchanged.
        const QString elsewhere = root.filePath("elsewhere");
        QVERIFY(root.mkpath("elsewhere") && root.mkpath("Result/Taro"));
        for (const char *ext : {".kek", ".pas", ".set", ".arr"}) {
            const QByteArray bytes = fileBytes(hanako + ext);
            QVERIFY(writeBytes(elsewhere + "/Taro" + ext, bytes));
            QVERIFY(writeBytes(root.filePath("decoy") + ext, bytes));
        }
        const QString ext = writer == u"settings"      ? ".set"
                            : writer == u"results"     ? ".kek"
                            : writer == u"arrangement" ? ".arr"
                                                       : ".pas";
        const QString taro = root.filePath("Result/Taro/Taro") + ext;
        QString refused = taro;
        if (link == u"in place of the folder") {
            QVERIFY(root.rmdir("Result/Taro"));
            QVERIFY(QFile::link(elsewhere, root.filePath("Result/Taro")));
            refused = root.filePath("Result/Taro");
        } else {
            QVERIFY(QFile::link(
                link == u"to a decoy file" ? root.filePath("decoy") + ext : hanako + ext, taro));
        }
        const auto before = snapshot(dir.path());

        QString error;
        if (writer == u"settings") {
            error = SettingsFile::write(taro, SettingsFile::newIdBytes());
        } else if (writer == u"password") {
            error = writePasswordFile(taro, "new");
        } else if (writer == u"legacy password at login") {
            // The stored hash is an extra: the trainee still gets in with the old file.
            UserList users;
            users.append("Taro");
            paths.enterImagesFolder();
            QCOMPARE(decideLogin(users, paths, "Taro", "pw").result, LoginResult::Accepted);
        } else if (writer == u"results") {
            error = ResultsFile::appendRecord(taro, "2026/12/11 10:00:00", 1, {}, 60).error;
        } else {
            ArrangementLine line;
            line.recordNumber = 1;
            line.date = "2026/12/11 10:00:00";
            line.problemNumber = 1;
            error = ArrangementFile::append(taro, line);
        }

        QCOMPARE(snapshot(dir.path()), before);
        if (writer != u"legacy password at login")
            QVERIFY2(error.contains(refused + " は"), qPrintable(error));
    }

    void staleTemporariesGoWithTheNextWrite()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QDateTime old = now.addSecs(-25 * 3600);
        auto make = [&](const QString &name, const QDateTime &modified) {
            writeFile(folder.filePath(name), "content");
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        };
        for (const char *name : {"Taro.kek", "Taro.pas", "Taro.set", "notes.txt"})
            make(name, old);
        const QStringList stale = {"Taro.kek.AbCdEf", "Taro.pas.qwErty", "Taro.set.ZZZZZZ"};
        const QStringList kept = {
            "Taro.kek.XyZabc",  // written a moment ago: a save may still be using it
            "Taro.set.AbcXyz",  // five minutes old: perhaps by another computer's clock
            "Taro.kek.bak",     // not the temporary naming
            "Taro.kek.123456",  // the temporaries' unique part has letters only
            "Taro.kek.AbCdEfG", // one letter too many
            "Other.kek.AbCdEf", // beside no file of that name
        };
        for (const QString &name : stale)
            make(name, old);
        for (const QString &name : kept)
            make(name, name == kept.at(0) ? now : name == kept.at(1) ? now.addSecs(-300) : old);
        QVERIFY(folder.mkdir("Taro.pas.Folder"));

        QVERIFY(writeFileAtomically(folder.filePath("Taro.set"), "0\r\n").isEmpty());
        QStringList expected =
            QStringList{"Taro.kek", "Taro.pas", "Taro.set", "notes.txt", "Taro.pas.Folder"} + kept;
        expected.sort();
        QStringList entries = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        entries.sort();
        QCOMPARE(entries, expected);
        QCOMPARE(removeStaleTemporaries(dir.path(), now.addSecs(23 * 3600)), 0);
        QCOMPARE(removeStaleTemporaries(dir.path(), now.addSecs(25 * 3600)), 2); // a day later
    }
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "test_file_safety.moc"
