#include "core/text/Cp932Text.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void splitsAtEveryLineEnding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("lf") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("lone cr") << "a\rb" << QStringList{"a", "b"};
        QTest::newRow("mixed with empty lines") << "a\r\n\nb\r\r\n"
                                                << QStringList{"a", "", "b", ""};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("only newline") << "\r\n" << QStringList{""};
    }
    void splitsAtEveryLineEnding()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(splitLines(text), lines);
    }

    void roundTripsJapaneseAndBackslashInCp932()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.txt");
        const QString text = QStringLiteral("正常女性染色体核型no52 C:\\Result ソ表");
        QVERIFY(writeCp932Lines(path, {text, "x"}).isEmpty());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        // Backslash stays 0x5C (no yen sign), "ソ" keeps its 0x5C trail byte, lines end in CR LF.
        QVERIFY(bytes.contains("C:\\Result"));
        QVERIFY(bytes.contains("\x83\x5C"));
        QVERIFY(bytes.endsWith("x\r\n"));
        const TextReadResult read = readCp932Lines(path);
        QVERIFY(read.ok());
        QCOMPARE(read.lines, (QStringList{text, "x"}));
    }

    // Characters that only the Windows code page has, not plain Shift_JIS: trainees type them in
    // names (髙橋) and the files must keep them in the code page's own bytes.
    void encodesCharactersOnlyTheCodePageHas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("髙 (IBM extension)")
            << QStringLiteral("髙橋") << QByteArray("\xFB\xFC\x8B\xB4");
        QTest::newRow("～ full-width tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
        QTest::newRow("－ full-width minus") << QStringLiteral("－") << QByteArray("\x81\x7C");
        QTest::newRow("① circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
        QTest::newRow("∥ parallel") << QStringLiteral("∥") << QByteArray("\x81\x61");
        QTest::newRow("Ⅰ roman one") << QStringLiteral("Ⅰ") << QByteArray("\x87\x54");
    }
    void encodesCharactersOnlyTheCodePageHas()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encodeCp932(text), std::optional<QByteArray>(bytes));
        QCOMPARE(decodeCp932(bytes), std::optional<QString>(text));
    }

    void invalidBytesAreAnErrorNotDropped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("ok\r\n\x81\x20\r\n"); // 0x81 needs a trail byte of 0x40..0xFC
        f.close();
        const TextReadResult read = readCp932Lines(path);
        QVERIFY(!read.ok());
        QVERIFY(read.error.contains(path));
    }

    void missingFileIsAnError() { QVERIFY(!readCp932Lines("/nonexistent/x.set").ok()); }

    void failedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.txt");
        QVERIFY(writeCp932Lines(path, {"old"}).isEmpty());
        // A character without a code page 932 form must not truncate what is there.
        QVERIFY(!writeCp932Lines(path, {QStringLiteral("\U0001F600")}).isEmpty());
        QCOMPARE(readCp932Lines(path).lines, QStringList{"old"});
        QVERIFY(!writeCp932Lines(dir.filePath("no/such/folder.txt"), {"x"}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"
