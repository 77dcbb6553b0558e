#include "FileBytes.h"
#include "core/app/AppPaths.h"
#include "core/app/NewUserId.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace queldo;
using namespace queldo::test;

namespace {

const QString Today = QStringLiteral("2026/12/10");

std::array<int, 46> allCorrect()
{
    std::array<int, 46> codes;
    codes.fill(1);
    return codes;
}

QByteArray header()
{
    return *encodeCp932(ResultsHeader) + "\r\n";
}

// The bytes of a record line as this program writes it, line end included.
QByteArray recordBytes(int index, const QString &date, int problem, int seconds)
{
    QByteArray line = QByteArray::number(index) + "," + *encodeCp932(date) + "," +
                      QString::asprintf("%.3d", problem).toLatin1();
    for (int s = 0; s < 46; ++s)
        line += ",1";
    return line + "," + QByteArray::number(seconds) + "\r\n";
}

} // namespace

class TestResultsAppend : public QObject
{
    Q_OBJECT
private slots:
    void earlierLinesStayByteForByte_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QByteArray>(
            "joint"); // what must come between the old bytes and the new line
        QTest::addColumn<int>("index");
        // 0x8790 (≒) and 0xED40 decode to characters whose own encodings are 0x81E0 and 0xFA5C:
        // re-encoding the file would change these records.
        const QByteArray odd = "0,2026/12/09 \x87\x90,003" + QByteArray(",1").repeated(46) +
                               ",5\r\n" + "1,\"\xED\x40\",003" + QByteArray(",1").repeated(46) +
                               ",6\r\n";
        QTest::newRow("bytes that do not survive a round trip")
            << header() + odd << QByteArray() << 2;
        QTest::newRow("lone LF and lone CR line ends")
            << header() + recordBytes(0, Today, 1, 5).replace("\r\n", "\n") +
                   recordBytes(1, Today, 2, 6).replace("\r\n", "\r")
            << QByteArray() << 2;
        QTest::newRow("last line without its line end")
            << header() + recordBytes(0, Today, 1, 5).chopped(2) << QByteArray("\r\n") << 1;
    }
    void earlierLinesStayByteForByte()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, joint);
        QFETCH(int, index);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(writeBytes(path, existing));
        const AppendResult result = ResultsFile::appendRecord(path, Today, 7, allCorrect(), 412);
        QVERIFY(result.saved());
        QCOMPARE(result.notice, QString());
        QCOMPARE(fileBytes(path), existing + joint + recordBytes(index, Today, 7, 412));
    }

    void undecodableLineKeepsEveryLaterAttempt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        const QByteArray damaged = "1,2026/12/09,\x81\x20,1\r\n"; // a lead byte without its partner
        const QByteArray before = header() + recordBytes(0, Today, 1, 5) + damaged;
        QVERIFY(writeBytes(path, before));

        QByteArray expected = before;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const AppendResult result =
                ResultsFile::appendRecord(path, Today, 2, allCorrect(), 30 + attempt);
            QVERIFY2(result.saved(), qPrintable(result.error));
            QCOMPARE(result.damagedLines, std::vector<qsizetype>{3});
            QVERIFY(result.notice.contains("3行目"));
            expected += recordBytes(2 + attempt, Today, 2, 30 + attempt);
            QCOMPARE(fileBytes(path), expected);
        }

        // The reader leaves the damaged line out, says which it was, and keeps the rest.
        const ResultsReadResult read = ResultsFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(read.unreadableLines, std::vector<qsizetype>{3});
        QCOMPARE(int(read.records.size()), 4);
        QCOMPARE(read.records[3].fields.at(49), "32");
        QCOMPARE(int(read.records.lineNumber(3)), 6);
        const ResultsFile::Counts counts = ResultsFile::count(path, Today);
        QCOMPARE(counts.records, 5);
        QCOMPARE(counts.today, 4);
    }

    void fileWithoutItsHeaderIsKeptAndReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        const QByteArray before = recordBytes(0, Today, 1, 5) + recordBytes(1, Today, 2, 6);
        QVERIFY(writeBytes(path, before));
        const AppendResult result = ResultsFile::appendRecord(path, Today, 3, allCorrect(), 7);
        QVERIFY(result.saved());
        QCOMPARE(result.damagedLines, std::vector<qsizetype>{1});
        QVERIFY(result.notice.contains("1行目"));
        QCOMPARE(fileBytes(path), before + recordBytes(1, Today, 3, 7));
        // The convenience form shows the same notice.
        QVERIFY(ResultsFile::append(path, Today, 3, allCorrect(), 8).contains("1行目"));
    }

    void interruptedAppendIsLeftOutAndUndone_data()
    {
        QTest::addColumn<QByteArray>("tail"); // what the interrupted append had written
        QTest::addColumn<QByteArray>("note"); // what its note holds; "@" stands for the file's
                                              // device and inode
        QTest::addColumn<int>("records");     // records a reader must see
        QTest::addColumn<bool>("rejected");   // the note is not the file's: moved aside
        const QByteArray sound = header() + recordBytes(0, Today, 1, 5);
        const QByteArray next = recordBytes(1, Today, 2, 6);
        const QByteArray length = QByteArray::number(sound.size());
        // Notes of the length alone, as earlier versions wrote them: honoured at a line end.
        QTest::newRow("cut inside the line") << next.left(40) << length + "\n" << 1 << false;
        QTest::newRow("cut inside the line end") << next.chopped(1) << length + "\n" << 1 << false;
        // Written whole but never reported as saved: it goes too, as the trainee was not told.
        QTest::newRow("whole line, note still there") << next << length + "\n" << 1 << false;
        QTest::newRow("note cut short, file untouched") << QByteArray() << length << 1 << false;
        QTest::newRow("note claims more than the file holds")
            << QByteArray() << QByteArray::number(sound.size() + 500) + "\n"
            << 1 << true;
        QTest::newRow("note of garbage") << next << QByteArray("12a\n") << 2 << true;
        QTest::newRow("stray note cutting inside a line")
            << next << QByteArray::number(sound.size() - 10) + "\n"
            << 2 << true;
        QTest::newRow("stray note of no length") << next << QByteArray("0\n") << 2 << true;
        // Notes naming the file they guard: another file's, or the bytes before the cut changed.
        QTest::newRow("note of another file") << next << length + " @+1 0\n" << 2 << true;
        QTest::newRow("note of other bytes") << next << length + " @ 12345\n" << 2 << true;
    }
    void interruptedAppendIsLeftOutAndUndone()
    {
        QFETCH(QByteArray, tail);
        QFETCH(QByteArray, note);
        QFETCH(int, records);
        QFETCH(bool, rejected);
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        const QByteArray sound = header() + recordBytes(0, Today, 1, 5);
        QVERIFY(writeBytes(path, sound + tail));
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        const QByteArray identity = QByteArray::number(quint64(info.st_dev)) + ' ' +
                                    QByteArray::number(quint64(info.st_ino));
        note.replace("@+1", identity + "1").replace("@", identity);
        QVERIFY(writeBytes(unfinishedAppendNotePath(path), note));

        const ResultsReadResult read = ResultsFile::read(path);
        QVERIFY(read.ok());
        QVERIFY(read.unreadableLines.empty());
        QCOMPARE(int(read.records.size()), records);
        QCOMPARE(ResultsFile::count(path, Today).records, records);

        const AppendResult result = ResultsFile::appendRecord(path, Today, 7, allCorrect(), 412);
        QVERIFY2(result.saved(), qPrintable(result.error));
        QCOMPARE(result.notice, QString());
        const QByteArray kept = records == 1 ? sound : sound + tail;
        QCOMPARE(fileBytes(path), kept + recordBytes(records, Today, 7, 412));
        QVERIFY(!QFile::exists(unfinishedAppendNotePath(path)));
        // A foreign note cuts nothing, is kept aside as it was and is reported once.
        QCOMPARE(result.rejectedNote.contains(rejectedNotePath(path)), rejected);
        QCOMPARE(fileBytes(rejectedNotePath(path)), rejected ? note : QByteArray());
        QCOMPARE(ResultsFile::appendRecord(path, Today, 8, allCorrect(), 9).rejectedNote,
                 QString());
    }

    void erasingRemovesAnInterruptedAppend()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        const QByteArray sound = header() + recordBytes(0, Today, 1, 5);
        QVERIFY(writeBytes(path, sound + "1,2026/1"));
        QVERIFY(
            writeBytes(unfinishedAppendNotePath(path), QByteArray::number(sound.size()) + "\n"));
        QCOMPARE(ResultsFile::create(path), QString());
        QCOMPARE(fileBytes(path), header());
        QVERIFY(!QFile::exists(unfinishedAppendNotePath(path)));
    }

    void foreignThingsAtTheNotePathAreNoNote()
    {
        // Something that is not ours where the note would go: the attempt is still kept, and
        // readers are not misled by it.
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        const QByteArray sound = header() + recordBytes(0, Today, 1, 5);
        QVERIFY(writeBytes(path, sound));
        QVERIFY(QDir(dir.path()).mkdir("u.kek.undo"));
        const AppendResult result = ResultsFile::appendRecord(path, Today, 7, allCorrect(), 412);
        QVERIFY2(result.saved(), qPrintable(result.error));
        QCOMPARE(fileBytes(path), sound + recordBytes(1, Today, 7, 412));
        QCOMPARE(int(ResultsFile::read(path).records.size()), 2);

        // A link where the note goes is no note, whatever it leads to: nothing is hidden or cut.
        const QString other = dir.filePath("other");
        QVERIFY(writeBytes(other, "10\n"));
        QVERIFY(QDir(dir.path()).rmdir("u.kek.undo"));
        QVERIFY(QFile::link(other, unfinishedAppendNotePath(path)));
        QCOMPARE(int(ResultsFile::read(path).records.size()), 2);
        QVERIFY(ResultsFile::appendRecord(path, Today, 8, allCorrect(), 5).saved());
        QCOMPARE(fileBytes(path),
                 sound + recordBytes(1, Today, 7, 412) + recordBytes(2, Today, 8, 5));
    }

    void readerAgreesWithTheLineAndFieldSplitters()
    {
        // Random lines of quoted and bare fields, blanks, controls and Japanese text, with every
        // kind of line end: the file reader must split them exactly as the text splitters do.
        QRandomGenerator random(20261210);
        const QStringList pieces = {"1", "-2", "2026/12/10", "令和8年", "\"a,b\"", "\"\"\"\"",
                                    " ", ",",  "\t",         "\"x",     "ｶﾅ",      "\"q\"\"r\" s"};
        const QByteArray ends[] = {"\r\n", "\n", "\r"};
        QByteArray bytes = header();
        QStringList lines{ResultsHeader};
        for (int l = 0; l < 300; ++l) {
            QString line;
            // Never empty: an empty line after a lone CR would merge with it into one CR LF.
            const int count = 1 + int(random.bounded(11));
            for (int p = 0; p < count; ++p)
                line += pieces.at(random.bounded(int(pieces.size())));
            lines << line;
            bytes += *encodeCp932(line) + ends[random.bounded(3)];
        }
        QCOMPARE(splitLines(*decodeCp932(bytes)), lines);

        const ResultsReadResult read = ResultsFile::parse(bytes);
        QVERIFY(read.ok());
        QCOMPARE(int(read.records.size()), 300);
        for (int r = 0; r < 300; ++r)
            QCOMPARE(read.records[r].fields, ResultsFile::splitFields(lines.at(r + 1)));
    }

    void datesAreWrittenOneWayAndReadBothWays()
    {
        QCOMPARE(resultsDateText(QDate(2026, 1, 5)), "2026/01/05");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const TodayDate today(QDate(2026, 12, 10), us);
        QCOMPARE(today.written, "2026/12/10");
        QCOMPARE(today.localised, "12/10/26");
        QVERIFY(isRecordOfToday(u"2026/12/10", today));
        QVERIFY(isRecordOfToday(u"12/10/26", today));
        QVERIFY(!isRecordOfToday(u"2026/12/09", today));

        const QByteArray bytes =
            header() + recordBytes(0, "2026/12/10", 1, 1) + recordBytes(1, "12/10/26", 1, 1) +
            recordBytes(2, "12/9/26", 1, 1) + recordBytes(3, "2026-12-10", 1, 1);
        const ResultsFile::Counts counts = ResultsFile::countBytes(bytes, today);
        QCOMPARE(counts.records, 4);
        QCOMPARE(counts.today, 2);
    }

    void traineeNamedInCodePageOnlyCharactersKeepsTheAttempt_data()
    {
        // Characters only code page 932 has, not plain Shift_JIS: a trainee named with one must
        // get an ID, and their attempts must reach the results file in the folder it names.
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("id"); // as stored: compatibility forms are tidied
        QTest::newRow("髙 (IBM extension kanji)")
            << QStringLiteral("髙橋") << QStringLiteral("髙橋");
        QTest::newRow("～ full-width tilde") << QStringLiteral("山田～") << QStringLiteral("山田~");
        QTest::newRow("－ full-width hyphen")
            << QStringLiteral("山田－2") << QStringLiteral("山田-2");
        QTest::newRow("① circled one") << QStringLiteral("山田①") << QStringLiteral("山田1");
        QTest::newRow("∥ parallel") << QStringLiteral("山∥田") << QStringLiteral("山∥田");
        QTest::newRow("Ⅰ Roman numeral one") << QStringLiteral("山田Ⅰ") << QStringLiteral("山田I");
    }
    void traineeNamedInCodePageOnlyCharactersKeepsTheAttempt()
    {
        QFETCH(QString, typed);
        QFETCH(QString, id);
        QCOMPARE(idRefusal(typed), QString());
        QTemporaryDir dir;
        const AppPaths paths(dir.path(), dir.path());
        const CreateUserResult created = createUser(paths, typed, "pw");
        QVERIFY2(created.created, qPrintable(created.error));
        QCOMPARE(created.id, id);

        const QString path = paths.programUserFile(id, QStringLiteral(".kek"));
        QCOMPARE(QFileInfo(path).dir().dirName(), id);
        const AppendResult appended = ResultsFile::appendRecord(path, Today, 3, allCorrect(), 5);
        QVERIFY2(appended.saved(), qPrintable(appended.error));
        QCOMPARE(appended.notice, QString());
        QCOMPARE(fileBytes(path), header() + recordBytes(0, Today, 3, 5));
        const ResultsReadResult read = ResultsFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(int(read.records.size()), 1);
        QCOMPARE(read.records.field(0, 2).toString(), "003");
    }

    void memoryGrowsWithTheFile()
    {
        // Views into one buffer rather than a string per field: a record of about 120 bytes
        // costs a few hundred bytes held, where 50 separate strings would cost several kilobytes.
        QByteArray bytes = header();
        for (int r = 0; r < 2000; ++r)
            bytes += recordBytes(r, Today, 1 + r % 10, 100 + r % 900);
        const ResultsReadResult read = ResultsFile::parse(bytes);
        QCOMPARE(int(read.records.size()), 2000);
        QCOMPARE(read.records.field(1999, 49).toString(), "299");
        QVERIFY2(read.records.heldBytes() < 4 * bytes.size(),
                 qPrintable(QString::number(double(read.records.heldBytes()) / bytes.size())));
    }

#ifdef Q_OS_UNIX
    void failedAppendLeavesTheFileAsItWas()
    {
        // A disk that fills up in the middle of the line: a child whose file size limit lies
        // inside the new line appends, and must be told it failed with the file cut back.
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        const QByteArray sound = header() + recordBytes(0, Today, 1, 5);
        QVERIFY(writeBytes(path, sound));
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(sound.size() + 20), rlim_t(sound.size() + 20)};
            setrlimit(RLIMIT_FSIZE, &limit);
            const AppendResult result = ResultsFile::appendRecord(path, Today, 7, allCorrect(), 9);
            _exit(!result.saved() && result.error.contains("成績を記録できませんでした") ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(fileBytes(path), sound);
        QVERIFY(!QFile::exists(unfinishedAppendNotePath(path)));
    }

    void killedWhileAppendingLosesNothingSaved()
    {
        // A child appends in a loop and tells the parent each record it was told was saved; the
        // parent kills it at a random moment after its first save and reads the file back,
        // again and again. Waiting for that first save, not for a fixed time, keeps the outcome
        // the same on a machine too busy to let the child run within the delay.
        QTemporaryDir dir;
        const QString path = dir.filePath("u.kek");
        QVERIFY(ResultsFile::create(path).isEmpty());
        QRandomGenerator random(4711);
        // Kills spread over a few appends' time, however slow the disk is today, so that many
        // land inside an append.
        QElapsedTimer timer;
        timer.start();
        QVERIFY(ResultsFile::append(path, Today, 1, allCorrect(), 0).isEmpty());
        QVERIFY(ResultsFile::create(path).isEmpty());
        const quint32 longestDelay =
            quint32(std::max<qint64>(20000, 3 * timer.nsecsElapsed() / 1000));
        const int rounds = qEnvironmentVariableIsSet("QUELDO_KILL_ROUNDS")
                               ? qEnvironmentVariableIntValue("QUELDO_KILL_ROUNDS")
                               : 12;
        int saved = 0;       // records acknowledged so far
        int interrupted = 0; // kills that left an append unfinished
        for (int round = 0; round < rounds; ++round) {
            int pipeEnds[2];
            QCOMPARE(pipe(pipeEnds), 0);
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                close(pipeEnds[0]);
                // Each record carries its own index as its seconds, so the parent can check it.
                for (int index = ResultsFile::count(path, Today).records;; ++index) {
                    if (!ResultsFile::append(path, Today, 1 + index % 10, allCorrect(), index)
                             .isEmpty())
                        _exit(2);
                    if (write(pipeEnds[1], &index, sizeof index) != sizeof index)
                        _exit(3);
                }
            }
            close(pipeEnds[1]);
            int index = 0;
            QVERIFY2(read(pipeEnds[0], &index, sizeof index) == sizeof index,
                     "the appending child ended before its first save");
            saved = std::max(saved, index + 1);
            usleep(useconds_t(random.bounded(0u, longestDelay)));
            QCOMPARE(kill(child, SIGKILL), 0);
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY2(WIFSIGNALED(status), "the appending child stopped by itself");
            while (read(pipeEnds[0], &index, sizeof index) == sizeof index)
                saved = std::max(saved, index + 1);
            close(pipeEnds[0]);
            if (QFile::exists(unfinishedAppendNotePath(path)))
                ++interrupted;

            const ResultsReadResult back = ResultsFile::read(path);
            QVERIFY(back.ok());
            QVERIFY(back.unreadableLines.empty());
            // Everything acknowledged is there; at most one more was written but not yet told.
            const int records = int(back.records.size());
            QVERIFY2(records >= saved && records <= saved + 1,
                     qPrintable(QStringLiteral("%1 records, %2 saved").arg(records).arg(saved)));
            for (int r = 0; r < records; ++r) {
                QCOMPARE(int(back.records.fieldCount(r)), 50);
                QCOMPARE(back.records.field(r, 0).toString(), QString::number(r));
                QCOMPARE(back.records.field(r, 49).toString(), QString::number(r));
            }
            saved = records;
        }
        QVERIFY(saved > 0);
        qInfo("%d kills, %d of them inside an append, %d records", rounds, interrupted, saved);
    }
#endif
};

QTEST_GUILESS_MAIN(TestResultsAppend)
#include "test_results_append.moc"
