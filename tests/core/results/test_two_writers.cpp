#include "core/board/BoardState.h"
#include "core/results/ArrangementFile.h"
#include "core/results/AttemptRecord.h"
#include "core/results/ResultsFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace queldo;

namespace {

// Attempts per writer; QUELDO_WRITER_ATTEMPTS asks for more (the long runs of the closing note).
int attemptsPerWriter()
{
    const int asked = qEnvironmentVariableIntValue("QUELDO_WRITER_ATTEMPTS");
    return asked > 0 ? asked : 250;
}

// What one attempt of a writer carries: its seconds name the writer and its place in order.
int secondsOf(int writer, int attempt)
{
    return writer * 100000 + attempt;
}

} // namespace

/// Two copies of the program saving the same trainee's attempts at the same moment, as two
/// computers sharing the program folder do.
class TestTwoWriters : public QObject
{
    Q_OBJECT
private slots:
    void noSavedAttemptIsLost()
    {
        QTemporaryDir dir;
        const QString kek = dir.filePath("Taro.kek");
        const QString arr = dir.filePath("Taro.arr");
        QVERIFY(ResultsFile::create(kek).isEmpty());
        QVERIFY(ArrangementFile::reset(arr).isEmpty());
        const int attempts = attemptsPerWriter();

        int start[2];
        int reports[2];
        QCOMPARE(::pipe(start), 0);
        QCOMPARE(::pipe(reports), 0);
        pid_t children[2];
        for (int writer = 1; writer <= 2; ++writer) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                ::close(start[1]);
                ::close(reports[0]);
                // Each with a temporary folder of its own, as on two computers.
                QTemporaryDir own;
                qputenv("TMPDIR", own.path().toLocal8Bit());
                char go = 0;
                if (::read(start[0], &go, 1) != 0) // the end of the pipe is the signal
                    ::_exit(2);
                BoardState board;
                for (int attempt = 0; attempt < attempts; ++attempt) {
                    board.SlotContents[attempt % 46] = attempt % 46;
                    const SavedAttempt saved =
                        saveAttempt(kek, arr, "2026/12/11 09:00:00", 1 + attempt % 300, {},
                                    secondsOf(writer, attempt), board);
                    if (!saved.record.saved() || !saved.arrangementError.isEmpty())
                        continue; // reported as not saved: the trainee knows
                    const int seconds = secondsOf(writer, attempt);
                    if (::write(reports[1], &seconds, sizeof seconds) != sizeof seconds)
                        ::_exit(3);
                }
                ::_exit(0);
            }
            children[writer - 1] = child;
        }
        ::close(start[0]);
        ::close(reports[1]);
        // Both are waiting: one close lets them go at once.
        ::close(start[1]);
        QSet<int> reported;
        int seconds = 0;
        while (::read(reports[0], &seconds, sizeof seconds) == sizeof seconds)
            reported.insert(seconds);
        ::close(reports[0]);
        for (const pid_t child : children) {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }

        const ResultsReadResult results = ResultsFile::read(kek);
        QVERIFY(results.ok());
        QVERIFY(results.unreadableLines.empty());
        const ArrangementFile::ReadResult lines = ArrangementFile::read(arr);
        QVERIFY(lines.ok());
        QVERIFY(lines.damagedLines.empty());
        QCOMPARE(lines.lines.size(), std::size_t(results.records.size()));
        QSet<int> inFile;
        int last[3] = {-1, -1, -1};
        for (qsizetype r = 0; r < results.records.size(); ++r) {
            QCOMPARE(results.records.field(r, 0).toString(), QString::number(r));
            const int secondsField = results.records.field(r, 49).toString().toInt();
            const int writer = secondsField / 100000;
            const int attempt = secondsField % 100000;
            QVERIFY(writer == 1 || writer == 2);
            QVERIFY2(attempt > last[writer], "a writer's records out of its order");
            last[writer] = attempt;
            inFile.insert(secondsField);
            // The arrangement of the same record, with its problem.
            const ArrangementLine &line = lines.lines.at(std::size_t(r));
            QCOMPARE(line.recordNumber, int(r));
            QCOMPARE(line.problemNumber, 1 + attempt % 300);
            QCOMPARE(line.places[attempt % 46].piece, attempt % 46);
        }
        QVERIFY2(reported.size() > attempts, "most attempts of both writers were saved");
        QCOMPARE(inFile, reported);
        qInfo("%d attempts per writer, %lld saved and reported, %lld in the file", attempts,
              qlonglong(reported.size()), qlonglong(inFile.size()));
    }
};

QTEST_GUILESS_MAIN(TestTwoWriters)
#include "test_two_writers.moc"
