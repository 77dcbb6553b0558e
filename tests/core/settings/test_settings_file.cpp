#include "FileBytes.h"
#include "core/settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace queldo;
using namespace queldo::test;

namespace {

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void scaleText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.7") << 0.7f << "0.699999988079071";
        QTest::newRow("1.0") << 1.0f << "1";
        QTest::newRow("0.9 x 0.7") << 0.9f * 0.7f << "0.629999995231628";
        QTest::newRow("1.3") << 1.3f << "1.29999995231628";
        QTest::newRow("13 x 0.7 x 0.1") << float(13 * double(0.7f) * 0.1) << "0.909999966621399";
        QTest::newRow("0.5 exact") << 0.5f << "0.5";
        QTest::newRow("2") << 2.0f << "2";
    }
    void scaleText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(SettingsFile::scaleText(value), text);
    }

    void bytesWrittenByOkAndForANewId()
    {
        QCOMPARE(SettingsFile::newIdBytes(), QByteArray("0\r\n0\r\n0\r\n0.699999988079071\r\n"));
        QCOMPARE(SettingsFile::dialogBytes({true, false, 0, 0.7f}),
                 QByteArray("1\n0\n0\n0.699999988079071\r\n"));
        QCOMPARE(SettingsFile::dialogBytes({false, true, 1, 1.3f}),
                 QByteArray("0\n1\n1\n1.29999995231628\r\n"));
        // The middle size writes the four lines alone, exactly as before.
        QCOMPARE(SettingsFile::dialogBytes({false, true, 1, 0.91f, 13}),
                 QByteArray("0\n1\n1\n0.910000026226044\r\n13\r\n"));
        QCOMPARE(SettingsFile::dialogBytes({false, false, 0, 0.7f, 10}),
                 QByteArray("0\n0\n0\n0.699999988079071\r\n"));

        QTemporaryDir dir;
        const QString path = dir.filePath("u.set");
        QVERIFY(writeBytes(path, "old content that is longer than the new one\r\n"));
        QVERIFY(
            SettingsFile::write(path, SettingsFile::dialogBytes({true, false, 0, 0.7f})).isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("1\n0\n0\n0.699999988079071\r\n"));
    }

    void chosenSizeIsKeptOnAFifthLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("position"); // 0: not stored
        QTest::newRow("written by OK")
            << SettingsFile::dialogBytes({false, false, 1, 0.66f, 12}) << 12;
        QTest::newRow("older file, four lines") << QByteArray("0\n0\n1\n0.66\r\n") << 0;
        QTest::newRow("out of range") << QByteArray("0\n0\n1\n0.66\r\n14\r\n") << 0;
        QTest::newRow("not a number") << QByteArray("0\n0\n1\n0.66\r\n1.2\r\n") << 0;
        QTest::newRow("blanks around it") << QByteArray("0\n0\n1\n0.66\r\n 7 \r\n") << 7;
    }
    void chosenSizeIsKeptOnAFifthLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, position);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.set");
        QVERIFY(writeBytes(path, bytes));
        const SettingsReadResult read = SettingsFile::read(path);
        QCOMPARE(read.defaultedLines, 0);
        QCOMPARE(read.settings.CustomScale, 1);
        QCOMPARE(read.settings.EffectiveScale, 0.66f);
        QCOMPARE(read.settings.trackBarPosition, position);
    }

    void writtenFilesReadBack_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("reference");
        QTest::addColumn<bool>("alignment");
        QTest::addColumn<int>("custom");
        QTest::addColumn<float>("scale");
        QTest::newRow("new id") << SettingsFile::newIdBytes() << false << false << 0 << 0.7f;
        QTest::newRow("ok, bare LF") << QByteArray("1\n1\n1\n0.909999966621399\r\n") << true << true
                                     << 1 << float(13 * double(0.7f) * 0.1);
        QTest::newRow("all CR LF")
            << QByteArray("1\r\n0\r\n1\r\n1.29999995231628\r\n") << true << false << 1 << 1.3f;
        QTest::newRow("lone CR") << QByteArray("0\r1\r0\r1\r") << false << true << 0 << 1.0f;
        QTest::newRow("no final line end")
            << QByteArray("1\n0\n0\n0.5") << true << false << 0 << 0.5f;
    }
    void writtenFilesReadBack()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, reference);
        QFETCH(bool, alignment);
        QFETCH(int, custom);
        QFETCH(float, scale);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.set");
        QVERIFY(writeBytes(path, bytes));
        const SettingsReadResult read = SettingsFile::read(path);
        QVERIFY(read.error.isEmpty());
        QCOMPARE(read.defaultedLines, 0);
        QCOMPARE(read.settings.referenceMode, reference);
        QCOMPARE(read.settings.alignmentMode, alignment);
        QCOMPARE(read.settings.CustomScale, custom);
        QCOMPARE(read.settings.EffectiveScale, scale);
    }

    void damagedFilesFallBackLineByLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("reference");
        QTest::addColumn<bool>("alignment");
        QTest::addColumn<int>("custom");
        QTest::addColumn<float>("scale");
        QTest::addColumn<int>("defaulted");
        // Only the exact text "1" turns a mode on; anything else is a valid "off".
        QTest::newRow("trailing blank")
            << QByteArray("1 \n1\n0\n0.5\r\n") << false << true << 0 << 0.5f << 0;
        QTest::newRow("other text")
            << QByteArray("yes\n\n0\n0.5\r\n") << false << false << 0 << 0.5f << 0;
        QTest::newRow("empty file") << QByteArray() << false << false << 0 << 0.7f << 4;
        QTest::newRow("two lines") << QByteArray("1\r\n1\r\n") << true << true << 0 << 0.7f << 2;
        QTest::newRow("three lines") << QByteArray("0\n1\n1\n") << false << true << 1 << 0.7f << 1;
        QTest::newRow("line 3 not a number")
            << QByteArray("1\n0\nx\n0.5\r\n") << true << false << 0 << 0.5f << 1;
        QTest::newRow("line 4 not a number")
            << QByteArray("1\n0\n1\nabc\r\n") << true << false << 1 << 0.7f << 1;
        QTest::newRow("line 4 nan")
            << QByteArray("0\n0\n1\nnan\r\n") << false << false << 1 << 0.7f << 1;
        QTest::newRow("line 4 inf")
            << QByteArray("0\n0\n1\ninf\r\n") << false << false << 1 << 0.7f << 1;
        QTest::newRow("line 4 zero")
            << QByteArray("0\n0\n1\n0\r\n") << false << false << 1 << 0.7f << 1;
        QTest::newRow("line 4 negative")
            << QByteArray("0\n0\n1\n-0.5\r\n") << false << false << 1 << 0.7f << 1;
        QTest::newRow("line 4 absurd")
            << QByteArray("0\n0\n1\n1e30\r\n") << false << false << 1 << 0.7f << 1;
        QTest::newRow("both numbers bad")
            << QByteArray("1\n1\n1.5\n\r\n") << true << true << 0 << 0.7f << 2;
    }
    void damagedFilesFallBackLineByLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, reference);
        QFETCH(bool, alignment);
        QFETCH(int, custom);
        QFETCH(float, scale);
        QFETCH(int, defaulted);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.set");
        QVERIFY(writeBytes(path, bytes));
        const SettingsReadResult read = SettingsFile::read(path);
        QVERIFY(read.error.isEmpty());
        QCOMPARE(read.settings.referenceMode, reference);
        QCOMPARE(read.settings.alignmentMode, alignment);
        QCOMPARE(read.settings.CustomScale, custom);
        QCOMPARE(read.settings.EffectiveScale, scale);
        QCOMPARE(read.defaultedLines, defaulted);
    }

    void missingOrUnreadableFileGivesTheDefaults()
    {
        QTemporaryDir dir;
        SettingsReadResult read = SettingsFile::read(dir.filePath("none.set"));
        QVERIFY(read.error.isEmpty());
        QCOMPARE(read.defaultedLines, 4);
        QCOMPARE(read.settings.EffectiveScale, 0.7f);

        QVERIFY(QDir(dir.path()).mkdir("folder.set"));
        read = SettingsFile::read(dir.filePath("folder.set"));
        QVERIFY(!read.error.isEmpty());
        QCOMPARE(read.defaultedLines, 4);
        QCOMPARE(read.settings.referenceMode, false);
        QCOMPARE(read.settings.CustomScale, 0);
        QCOMPARE(read.settings.EffectiveScale, 0.7f);
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.set");
        QVERIFY(writeBytes(path, SettingsFile::newIdBytes()));
        // The folder named in the path is a plain file, so nothing can be created there.
        QVERIFY(!SettingsFile::write(dir.filePath("u.set/u.set"), SettingsFile::newIdBytes())
                     .isEmpty());
        QVERIFY(QDir(dir.path()).mkdir("folder.set"));
        QVERIFY(
            !SettingsFile::write(dir.filePath("folder.set"), SettingsFile::newIdBytes()).isEmpty());
        QCOMPARE(fileBytes(path), SettingsFile::newIdBytes());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
