#include "FileBytes.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace queldo;
using namespace queldo::test;

namespace {

const QString Today = QStringLiteral("2026/12/10");
const QString Yesterday = QStringLiteral("2026/12/09");

std::array<int, 46> allCorrect()
{
    std::array<int, 46> codes;
    codes.fill(1);
    return codes;
}

QStringList rawLines(const QString &path)
{
    return readCp932Lines(path).lines;
}

} // namespace

class TestResultsFile : public QObject
{
    Q_OBJECT
private slots:
    void newFileIsTheHeaderAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(ResultsFile::create(path).isEmpty());
        QCOMPARE(fileBytes(path), *encodeCp932(ResultsHeader + "\r\n"));
        QVERIFY(ResultsHeader.startsWith(" 試行No,日時,データファイル,1,2,"));
        QVERIFY(ResultsHeader.endsWith(",45,46,解答時間"));
        QCOMPARE(ResultsFile::splitFields(ResultsHeader).size(), 50);

        // Erasing all grades is the same operation over a file with records.
        QVERIFY(ResultsFile::append(path, Today, 1, allCorrect(), 5).isEmpty());
        QVERIFY(ResultsFile::create(path).isEmpty());
        QCOMPARE(fileBytes(path), *encodeCp932(ResultsHeader + "\r\n"));
    }

    void appendedRecordsAreNumberedFromZero()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(ResultsFile::create(path).isEmpty());
        std::array<int, 46> codes = allCorrect();
        codes[16] = -1; // chromosome 9, one place empty
        codes[17] = 0;  // ... and one holding another chromosome
        codes[45] = -2;
        QVERIFY(ResultsFile::append(path, Today, 7, codes, 412).isEmpty());
        QVERIFY(ResultsFile::append(path, Today, 12, allCorrect(), 0).isEmpty());
        QVERIFY(ResultsFile::append(path, Today, 123, allCorrect(), 59).isEmpty());

        const QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), 4);
        QCOMPARE(bytes.count('\n'), 4);

        const QStringList lines = rawLines(path);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), ResultsHeader);
        QString expected = "0,2026/12/10,007";
        for (int s = 0; s < 46; ++s)
            expected += "," + QString::number(codes[std::size_t(s)]);
        QCOMPARE(lines.at(1), expected + ",412");
        QVERIFY(lines.at(2).startsWith("1,2026/12/10,012,1,1,"));
        QVERIFY(lines.at(3).startsWith("2,2026/12/10,123,"));
        QVERIFY(lines.at(3).endsWith(",1,59"));

        const ResultsReadResult read = ResultsFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(int(read.records.size()), 3);
        for (const TrialRecord &record : read.records)
            QCOMPARE(record.fields.size(), 50);
        QCOMPARE(read.records[0].fields.at(19), "-1");
        QCOMPARE(read.records[0].fields.at(20), "0");
        QCOMPARE(read.records[0].fields.at(48), "-2");
    }

    void dateWithBlanksAndQuotesSurvivesTheRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(ResultsFile::create(path).isEmpty());
        const QString date = QStringLiteral("令和8年 12月\"10日\"");
        QVERIFY(ResultsFile::append(path, date, 3, allCorrect(), 100).isEmpty());

        const QStringList lines = rawLines(path);
        QVERIFY(lines.at(1).startsWith("0,\"令和8年 12月\"\"10日\"\"\",003,"));
        const ResultsReadResult read = ResultsFile::read(path);
        QCOMPARE(int(read.records.size()), 1);
        QCOMPARE(read.records[0].fields.size(), 50);
        QCOMPARE(read.records[0].fields.at(1), date);
        QCOMPARE(ResultsFile::count(path, date).today, 1);
    }

    void onlyRecordsOfTodayCountAsToday()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(ResultsFile::create(path).isEmpty());
        QVERIFY(ResultsFile::append(path, Yesterday, 1, allCorrect(), 1).isEmpty());
        QVERIFY(ResultsFile::append(path, Today, 2, allCorrect(), 1).isEmpty());
        QVERIFY(
            ResultsFile::append(path, QStringLiteral("2026-12-10"), 3, allCorrect(), 1).isEmpty());
        QVERIFY(ResultsFile::append(path, Today, 4, allCorrect(), 1).isEmpty());

        ResultsFile::Counts counts = ResultsFile::count(path, Today);
        QVERIFY(counts.error.isEmpty());
        QCOMPARE(counts.records, 4);
        QCOMPARE(counts.today, 2);
        QCOMPARE(ResultsFile::count(path, Yesterday).today, 1);

        // A file that lost even its header holds no records and is not an error.
        QVERIFY(writeBytes(path, {}));
        counts = ResultsFile::count(path, Today);
        QVERIFY(counts.error.isEmpty());
        QCOMPARE(counts.records, 0);
        QCOMPARE(counts.today, 0);
    }

    void malformedLinesAreReturnedAsTheyAre()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(writeBytes(path, *encodeCp932(ResultsHeader + "\r\n0,2026/12/10,001\nx\r\rabc")));
        const ResultsReadResult read = ResultsFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(int(read.records.size()), 4);
        QCOMPARE(read.records[0].fields, (QStringList{"0", "2026/12/10", "001"}));
        QCOMPARE(read.records[1].fields, QStringList{"x"});
        QVERIFY(read.records[2].fields.isEmpty());
        QCOMPARE(read.records[3].fields, QStringList{"abc"});
        QCOMPARE(ResultsFile::count(path, Today).records, 4);
    }

    void appendingToAMissingOrEmptyFileKeepsTheAttempt_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("empty") << true;
    }
    void appendingToAMissingOrEmptyFileKeepsTheAttempt()
    {
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        if (exists)
            QVERIFY(writeBytes(path, {}));
        QVERIFY(ResultsFile::append(path, Today, 5, allCorrect(), 30).isEmpty());
        const QStringList lines = rawLines(path);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), ResultsHeader);
        QVERIFY(lines.at(1).startsWith("0,2026/12/10,005,"));
        QCOMPARE(ResultsFile::count(path, Today).today, 1);
    }

    void failedAppendLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("folder is a plain file") << "parentIsFile";
        QTest::newRow("path is a folder") << "targetIsFolder";
        QTest::newRow("date outside the code page") << "unencodable";
#ifdef Q_OS_UNIX
        QTest::newRow("disk full while writing") << "diskFull";
#endif
    }
    void failedAppendLeavesTheFileAsItWas()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QString kept = dir.filePath("u.kek");
        QVERIFY(ResultsFile::create(kept).isEmpty());
        QVERIFY(ResultsFile::append(kept, Today, 1, allCorrect(), 10).isEmpty());
        QString target = kept;
        QString date = Today;

        if (how == "parentIsFile") {
            target = dir.filePath("u.kek/u.kek");
        } else if (how == "targetIsFolder") {
            target = dir.filePath("folder.kek");
            QVERIFY(QDir(dir.path()).mkdir("folder.kek"));
        } else if (how == "unencodable") {
            date = QStringLiteral("2026/12/10 \U0001F600");
        }
        const QByteArray before = fileBytes(kept);

        QString error;
#ifdef Q_OS_UNIX
        if (how == "diskFull") {
            // Writes past this size fail as on a full disk, even for root.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit old{};
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
            rlimit small = old;
            small.rlim_cur = rlim_t(before.size() + 20);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            error = ResultsFile::append(target, date, 2, allCorrect(), 20);
            setrlimit(RLIMIT_FSIZE, &old);
        } else
#endif
        {
            error = ResultsFile::append(target, date, 2, allCorrect(), 20);
        }

        // QSaveFile buffers small writes and its commit() ignores a flush that wrote only part of
        // them; writeFileAtomically must check flush() itself before this row can pass.
        QVERIFY(error.contains("成績を記録できませんでした"));
        QCOMPARE(fileBytes(kept), before);
        // No temporary file is left behind beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"u.kek"});
    }

    void readingAMissingFileIsAnError()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("none.kek");
        QVERIFY(!ResultsFile::read(path).ok());
        QVERIFY(!ResultsFile::count(path, Today).error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void readerSplitsFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("commas") << "0,2026/12/10,007" << QStringList{"0", "2026/12/10", "007"};
        QTest::newRow("unquoted blank separates")
            << "2026/12/10 9:30,1" << QStringList{"2026/12/10", "9:30", "1"};
        QTest::newRow("blanks around a comma") << "a , b" << QStringList{"a", "b"};
        QTest::newRow("quoted comma, blank and doubled quote")
            << "\"a,\"\"b\"\" c\",d" << QStringList{"a,\"b\" c", "d"};
        QTest::newRow("empty field between commas") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("trailing comma adds an empty field") << "a,b," << QStringList{"a", "b", ""};
        QTest::newRow("blank after the trailing comma does not")
            << "a,b, " << QStringList{"a", "b"};
        QTest::newRow("leading blanks and controls skipped") << " \t\x01"
                                                                "a,b"
                                                             << QStringList{"a", "b"};
        QTest::newRow("header") << " 試行No,日時,1" << QStringList{"試行No", "日時", "1"};
        QTest::newRow("unclosed quote runs to the end") << "1,\"ab,c" << QStringList{"1", "ab,c"};
        QTest::newRow("text after a closing quote is a new field")
            << "\"ab\"cd,e" << QStringList{"ab", "cd", "e"};
        QTest::newRow("empty line") << "" << QStringList{};
        QTest::newRow("blanks only") << "   " << QStringList{};
    }
    void readerSplitsFields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(ResultsFile::splitFields(line), fields);
    }

    void writerQuotesOnlyWhatNeedsIt_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << QStringList{"0", "2026/12/10", "-1"} << "0,2026/12/10,-1";
        QTest::newRow("blank") << QStringList{"a b", "c"} << "\"a b\",c";
        QTest::newRow("control") << QStringList{"a\tb"} << "\"a\tb\"";
        QTest::newRow("comma") << QStringList{"a,b"} << "\"a,b\"";
        QTest::newRow("quote doubled") << QStringList{"a\"b"} << "\"a\"\"b\"";
        QTest::newRow("empty field unquoted") << QStringList{"a", "", "b"} << "a,,b";
        QTest::newRow("japanese unquoted") << QStringList{"令和8年12月10日"} << "令和8年12月10日";
    }
    void writerQuotesOnlyWhatNeedsIt()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, line);
        QCOMPARE(ResultsFile::joinFields(fields), line);
        QCOMPARE(ResultsFile::splitFields(line), fields);
    }
};

QTEST_GUILESS_MAIN(TestResultsFile)
#include "test_results_file.moc"
