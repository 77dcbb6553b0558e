#include "core/results/GradeStatistics.h"
#include "core/results/GradeStatisticsInBackground.h"
#include "core/results/ResultsBlocks.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QtTest>

#include <malloc.h>

using namespace queldo;

namespace {

const QString Today = QStringLiteral("2026/12/10");
const QStringList Problems = {QStringLiteral("正常女性染色体核型no52"),
                              QStringLiteral("正常男性染色体核型no45")};

QString recordText(int number, const QString &date, int problem, int missed, int seconds)
{
    std::array<int, 46> codes;
    codes.fill(1);
    for (int s = 0; s < missed; ++s)
        codes[std::size_t(s * 7 % 46)] = s % 2 ? 0 : -1;
    return ResultsFile::recordLine(number, date, problem, codes, seconds);
}

// A results file of `records` records: every `pastEvery`-th one from an earlier day, the others
// today; with mixedLineEnds every fourth line ends in a bare LF.
QByteArray historyBytes(int records, int pastEvery, bool mixedLineEnds)
{
    QByteArray bytes = *encodeCp932(ResultsHeader) + "\r\n";
    for (int r = 0; r < records; ++r)
        bytes += recordText(r, r % pastEvery ? Today : QStringLiteral("2026/12/09"), 1 + r % 3,
                            r % 5, 100 + r)
                     .toLatin1() +
                 (mixedLineEnds && r % 4 == 0 ? "\n" : "\r\n");
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Peak resident memory since the last reset, in bytes; -1 where the system cannot say.
qint64 peakSinceReset(bool reset)
{
    if (reset) {
        malloc_trim(0);
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
            return -1;
        clear.close();
    }
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

} // namespace

class TestResultsBlocks : public QObject
{
    Q_OBJECT
private slots:
    // Read a block at a time, the records, their line numbers and the lines left out are those
    // of the file read whole, and so are the figures of the grade analysis.
    void blocksGiveTheWholeFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.kek"));
        QByteArray bytes = historyBytes(40, 3, true);
        bytes += "\x81\x20 not code page 932\r\n";
        bytes += *encodeCp932(recordText(41, QStringLiteral("2026 12 10"), 2, 1, 50)) + "\r";
        bytes += "broken, line\r\n";
        bytes += recordText(43, Today, 1, 0, 70).toLatin1(); // no line end
        writeFile(path, bytes);

        const ResultsReadResult whole = ResultsFile::read(path);
        QVERIFY(whole.ok());
        for (qsizetype block : {16, 200, 4096}) {
            QList<QStringList> records;
            QList<qsizetype> lineNumbers;
            std::vector<qsizetype> unreadable;
            const QString error = ResultsFile::readInBlocks(
                path,
                [&](const ResultsReadResult &part) {
                    for (qsizetype r = 0; r < part.records.size(); ++r) {
                        records << part.records[r].fields;
                        lineNumbers << part.records.lineNumber(r);
                    }
                    unreadable.insert(unreadable.end(), part.unreadableLines.begin(),
                                      part.unreadableLines.end());
                },
                block);
            QVERIFY(error.isEmpty());
            QCOMPARE(records.size(), whole.records.size());
            for (qsizetype r = 0; r < records.size(); ++r) {
                QCOMPARE(records[r], whole.records[r].fields);
                QCOMPARE(lineNumbers[r], whole.records.lineNumber(r));
            }
            QCOMPARE(unreadable, whole.unreadableLines);
        }

        QString error;
        const GradeStatistics streamed =
            gradeStatisticsOfFile(path, TodayDate(Today), Problems, &error);
        const GradeStatistics read = GradeStatistics::compute(whole, TodayDate(Today), Problems);
        QVERIFY(error.isEmpty());
        QCOMPARE(streamed.TodayReport, read.TodayReport);
        QCOMPARE(streamed.OverallReport, read.OverallReport);
        QCOMPARE(streamed.accuracyPerAttempt, read.accuracyPerAttempt);
        QCOMPARE(streamed.secondsPerAttempt, read.secondsPerAttempt);
        QCOMPARE(streamed.accuracyPerPair, read.accuracyPerPair);
        QCOMPARE(streamed.linesLeftOut, 2);
    }

    // Computed on a worker thread, the figures are those of the file read on the spot; the
    // window asking is told on its own thread, and not at all once it is gone.
    void figuresInTheBackground()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.kek"));
        QByteArray bytes = historyBytes(300, 2, false);
        writeFile(path, bytes);
        QString error;
        const GradeStatistics here =
            gradeStatisticsOfFile(path, TodayDate(Today), Problems, &error);

        GradeStatisticsInBackground background;
        QObject window;
        Qt::HANDLE toldOn = nullptr;
        background.start(path, TodayDate(Today), Problems, &window,
                         [&] { toldOn = QThread::currentThreadId(); });
        QVERIFY(background.pending());
        QTRY_VERIFY(toldOn != nullptr);
        QCOMPARE(toldOn, QThread::currentThreadId());
        const GradeStatisticsInBackground::Figures figures = background.take();
        QVERIFY(!background.pending());
        QVERIFY(figures.error.isEmpty());
        QCOMPARE(figures.statistics.TodayReport, here.TodayReport);
        QCOMPARE(figures.statistics.OverallReport, here.OverallReport);
        QCOMPARE(figures.statistics.accuracyPerAttempt, here.accuracyPerAttempt);
        QCOMPARE(figures.statistics.secondsPerAttempt, here.secondsPerAttempt);

        bool told = false;
        auto gone = std::make_unique<QObject>();
        background.start(dir.filePath(QStringLiteral("none.kek")), TodayDate(Today), Problems,
                         gone.get(), [&] { told = true; });
        gone.reset();
        QVERIFY(background.take().error.startsWith(QStringLiteral("成績ファイルを読めません。")));
        QCoreApplication::processEvents();
        QVERIFY(!told);
    }

    void unreadableFileShowsNoFigures()
    {
        QTemporaryDir dir;
        QString error;
        const GradeStatistics stats = gradeStatisticsOfFile(
            dir.filePath(QStringLiteral("none.kek")), TodayDate(Today), Problems, &error);
        QVERIFY(error.startsWith(QStringLiteral("成績ファイルを読めません。\n")));
        QVERIFY(stats.noRecords);
        QVERIFY(stats.TodayReport.startsWith(QStringLiteral("〇成績を表示できません。")));
    }

    // Years of attempts cost the figures, not the file: the peak while the analysis reads a
    // 32 MB history stays below half the file's size (read whole, it took several times it).
    void longHistoryInBoundedMemory()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.kek"));
        qint64 size = 0;
        int records = 0;
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(*encodeCp932(ResultsHeader) + "\r\n");
            QByteArray lines;
            for (int r = 0; r < 1000; ++r)
                lines += recordText(r, Today, 1 + r % 2, r % 4, 300).toLatin1() + "\r\n";
            while (file.size() < (qint64(32) << 20)) {
                file.write(lines);
                records += 1000;
            }
            size = file.size();
        }
        const qint64 before = peakSinceReset(true);
        if (before < 0)
            QSKIP("this system does not report peak memory");
        QString error;
        const GradeStatistics stats =
            gradeStatisticsOfFile(path, TodayDate(Today), Problems, &error);
        const qint64 peak = peakSinceReset(false) - before;
        QVERIFY(error.isEmpty());
        QCOMPARE(stats.accuracyPerAttempt.size(), records);
        QVERIFY2(
            peak < size / 2,
            qPrintable(QStringLiteral("%1 MB for a %2 MB file").arg(peak >> 20).arg(size >> 20)));
    }

    // Scoring looks through the file for the numbering without holding it: a file of 256 MB of
    // zeros (one line that is no record, and no header) takes the attempt in a few MB.
    void scoringOnAHugeFileHoldsLittle()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zeros.kek"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(qint64(256) << 20));
        }
        const qint64 before = peakSinceReset(true);
        if (before < 0)
            QSKIP("this system does not report peak memory");
        std::array<int, 46> codes;
        codes.fill(1);
        const AppendResult result = ResultsFile::appendRecord(path, Today, 1, codes, 99);
        const qint64 peak = peakSinceReset(false) - before;
        QVERIFY2(result.saved(), qPrintable(result.error));
        QCOMPARE(result.recordNumber, 0);
        QCOMPARE(result.damagedLines, std::vector<qsizetype>({1}));
        QVERIFY2(peak < (qint64(16) << 20), qPrintable(QString::number(peak >> 20) + " MB"));
        const ResultsFile::Counts counts = ResultsFile::count(path, TodayDate(Today));
        QCOMPARE(counts.records, 1);
        QCOMPARE(counts.today, 1);
    }
};

QTEST_GUILESS_MAIN(TestResultsBlocks)
#include "test_results_blocks.moc"
