#include "core/app/StartOptions.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

using Action = StartOptions::Action;
Q_DECLARE_METATYPE(StartOptions::Action)

class TestStartOptions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_start.isValid());
        QVERIFY(QDir(m_start.path()).mkpath("room/share"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        // For Run the folder under the start folder ("" none); otherwise a piece of the text.
        QTest::addColumn<QString>("expected");

        QTest::newRow("nothing") << QStringList{} << Action::Run << "";
        QTest::newRow("version") << QStringList{"--version"} << Action::PrintVersion
                                 << "QUELDO 1.1.2.4\n";
        QTest::newRow("-v") << QStringList{"-v"} << Action::PrintVersion << "QUELDO 1.1.2.4\n";
        QTest::newRow("help") << QStringList{"--help"} << Action::PrintHelp << "--folder <DIR>";
        QTest::newRow("help names the program")
            << QStringList{"--help"} << Action::PrintHelp << "Usage: queldo [options]\n";
        QTest::newRow("help wins over a bad folder")
            << QStringList{"--folder", "nowhere", "-h"} << Action::PrintHelp
            << "染色体解析技術トレーニングソフト";
        QTest::newRow("relative folder")
            << QStringList{"--folder", "room"} << Action::Run << "room";
        QTest::newRow("folder with =")
            << QStringList{"--folder=room/share/.."} << Action::Run << "room";
        QTest::newRow("last folder counts")
            << QStringList{"--folder", "nowhere", "--folder", "room/share"} << Action::Run
            << "room/share";
        QTest::newRow("missing folder") << QStringList{"--folder", "nowhere"} << Action::Refuse
                                        << "フォルダ nowhere がありません。";
        QTest::newRow("empty folder")
            << QStringList{"--folder", ""} << Action::Refuse << "がありません。";
        QTest::newRow("folder without value")
            << QStringList{"--folder"} << Action::Refuse << "--help";
        QTest::newRow("unknown option") << QStringList{"--fast"} << Action::Refuse << "fast";
        QTest::newRow("stray argument")
            << QStringList{"room"} << Action::Refuse << "余分な引数があります: room";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, expected);
        const StartOptions options =
            parseStartOptions(QStringList{"/usr/bin/queldo"} + arguments, m_start.path());
        QCOMPARE(options.action, action);
        if (action == Action::Run) {
            QCOMPARE(options.folder, expected.isEmpty() ? QString() : m_start.filePath(expected));
            QVERIFY(options.text.isEmpty());
        } else {
            QVERIFY2(options.text.contains(expected), qPrintable(options.text));
            QVERIFY(options.text.endsWith('\n'));
            QVERIFY(options.folder.isEmpty());
        }
    }

private:
    QTemporaryDir m_start;
};

QTEST_GUILESS_MAIN(TestStartOptions)
#include "test_start_options.moc"
