#include "core/app/DataFolder.h"
#include "core/app/FolderChoice.h"

#include "FileBytes.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

using Kind = FolderChoice::Kind;
Q_DECLARE_METATYPE(FolderChoice::Kind)

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList treeOf(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

class TestFolderChoice : public QObject
{
    Q_OBJECT
private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("folders"); // program folder | start folder
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("samples");
        QTest::addColumn<QString>("unusable");

        QTest::newRow("program folder laid out by hand")
            << ""
            << "/opt/q" << true << false << "" << false << Kind::ProgramFolder << "/opt/q|/home/t"
            << "/opt/q"
            << ""
            << "";
        QTest::newRow("program folder keeps its layout whatever was remembered")
            << ""
            << "/opt/q" << true << false << "/srv/room" << true << Kind::ProgramFolder
            << "/opt/q|/home/t"
            << "/opt/q"
            << ""
            << "";
        QTest::newRow("installed, first start")
            << ""
            << "/usr/bin" << false << true << "" << false << Kind::AskForDataFolder << "|"
            << ""
            << ""
            << "";
        QTest::newRow("installed, folder remembered")
            << ""
            << "/usr/bin" << false << true << "/srv/room" << true << Kind::DataFolder
            << "/srv/room|/srv/room"
            << "/usr/share/queldo"
            << "/usr/share/queldo/Images"
            << "";
        QTest::newRow("installed, remembered folder gone")
            << ""
            << "/usr/bin" << false << true << "/srv/room" << false << Kind::AskForDataFolder << "|"
            << ""
            << ""
            << "/srv/room";
        QTest::newRow("installed, run by root who may write to its folder")
            << ""
            << "/usr/bin" << true << true << "" << false << Kind::AskForDataFolder << "|"
            << ""
            << ""
            << "";
        QTest::newRow("read-only program folder of no package")
            << ""
            << "/mnt/cd" << false << false << "/home/t/q" << true << Kind::DataFolder
            << "/home/t/q|/home/t/q"
            << "/mnt/cd"
            << ""
            << "";
        QTest::newRow("named folder beside a program folder")
            << "/tmp/n"
            << "/opt/q" << true << false << "" << false << Kind::NamedFolder << "/tmp/n|/tmp/n"
            << "/opt/q"
            << ""
            << "";
        QTest::newRow("named folder of an installed program")
            << "/tmp/n"
            << "/usr/bin" << false << true << "/srv/room" << false << Kind::NamedFolder
            << "/tmp/n|/tmp/n"
            << "/usr/share/queldo"
            << "/usr/share/queldo/Images"
            << "";
    }

    void choice()
    {
        QFETCH(QString, named);
        QFETCH(QString, executable);
        QFETCH(bool, writable);
        QFETCH(bool, installed);
        QFETCH(QString, remembered);
        QFETCH(bool, usable);
        QFETCH(Kind, kind);
        QFETCH(QString, folders);
        QFETCH(QString, help);
        QFETCH(QString, samples);
        QFETCH(QString, unusable);

        FolderFacts facts;
        facts.namedFolder = named;
        facts.executableFolder = executable;
        facts.executableFolderWritable = writable;
        facts.installedShareFolder = installed ? "/usr/share/queldo" : "";
        facts.rememberedDataFolder = remembered;
        facts.rememberedDataFolderUsable = usable;
        facts.startFolder = "/home/t";
        const FolderChoice choice = chooseFolders(facts);
        QCOMPARE(choice.kind, kind);
        QCOMPARE(choice.programFolder + '|' + choice.startFolder, folders);
        QCOMPARE(choice.helpFolder, help);
        QCOMPARE(choice.sampleProblems, samples);
        QCOMPARE(choice.unusableDataFolder, unusable);
    }

    void factsFromTheFileSystem()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        QVERIFY(root.mkpath("usr/bin") && root.mkpath("usr/share/queldo/Images"));
        QVERIFY(root.mkpath("opt/q") && root.mkpath("room"));

        FolderFacts facts =
            FolderFacts::gather("", root.filePath("usr/bin"), root.filePath("room"), "/home/t");
        QCOMPARE(facts.installedShareFolder, root.filePath("usr/share/queldo"));
        QVERIFY(facts.rememberedDataFolderUsable);

        facts = FolderFacts::gather("", root.filePath("opt/q"), root.filePath("gone"), "/home/t");
        QVERIFY(facts.installedShareFolder.isEmpty());
        QVERIFY(facts.executableFolderWritable);
        QVERIFY(!facts.rememberedDataFolderUsable);
        writeFile(root.filePath("plain"), "not a folder");
        QVERIFY(
            !FolderFacts::gather("", "/", root.filePath("plain"), "/").rememberedDataFolderUsable);
    }

    void samplesFillOnlyWhatIsMissing()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        const QString samples = root.filePath("share/Images");
        writeFile(samples + "/1-1.bmp", "preview");
        writeFile(samples + "/女性1/1-1.bmp", "sample female");
        writeFile(samples + "/正常2/正常2.set", "check values");
        writeFile(samples + "/正常2/sub/deep.bmp", "deep");
        // A teacher's folder: its own spelling of the folders, its own problem and a trainee.
        const QString data = root.filePath("room");
        writeFile(data + "/images/女性1/own.bmp", "the teacher's");
        writeFile(data + "/result/Taro/Taro.pas", "pw");
        // Left by a copy cut short.
        writeFile(data + "/images/.正常2.part/half.bmp", "half");

        QCOMPARE(layOutDataFolder(data, samples), QString());
        const QStringList expected{"images",
                                   "images/1-1.bmp",
                                   "images/女性1",
                                   "images/女性1/own.bmp",
                                   "images/正常2",
                                   "images/正常2/sub",
                                   "images/正常2/sub/deep.bmp",
                                   "images/正常2/正常2.set",
                                   "result",
                                   "result/Taro",
                                   "result/Taro/Taro.pas"};
        QCOMPARE(treeOf(data), expected);
        QCOMPARE(test::fileBytes(data + "/images/正常2/sub/deep.bmp"), QByteArray("deep"));
        QCOMPARE(test::fileBytes(data + "/images/女性1/own.bmp"), QByteArray("the teacher's"));

        // A second start changes nothing, even when a sample has changed meanwhile.
        writeFile(samples + "/1-1.bmp", "a newer preview");
        QCOMPARE(layOutDataFolder(data, samples), QString());
        QCOMPARE(treeOf(data), expected);
        QCOMPARE(test::fileBytes(data + "/images/1-1.bmp"), QByteArray("preview"));
    }

    void emptyFolderGetsTheLayout()
    {
        QTemporaryDir dir;
        QCOMPARE(layOutDataFolder(dir.filePath("new/room"), ""), QString());
        QCOMPARE(treeOf(dir.filePath("new/room")), (QStringList{"Images", "Result"}));
    }

    void folderThatCannotBeMadeIsSaid()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("plain"), "a file");
        const QString message = layOutDataFolder(dir.filePath("plain"), "");
        QCOMPARE(message, dir.filePath("plain/Images") + " を作れません。");
    }

    void dataFolderIsRemembered()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("QUELDO.conf");
        {
            QSettings configuration(file, QSettings::IniFormat);
            QCOMPARE(rememberedDataFolder(configuration), QString());
            rememberDataFolder(configuration, "/srv/教室 1/データ");
        }
        QSettings again(file, QSettings::IniFormat);
        QCOMPARE(rememberedDataFolder(again), QString("/srv/教室 1/データ"));
    }
};

QTEST_GUILESS_MAIN(TestFolderChoice)
#include "test_folder_choice.moc"
