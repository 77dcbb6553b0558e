#include "FileBytes.h"
#include "core/board/BoardState.h"
#include "core/results/ArrangementFile.h"
#include "core/results/AttemptRecord.h"
#include "core/results/ConfusionReading.h"
#include "core/results/Confusions.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

const QString Today = QStringLiteral("2026/12/10");
const QString Yesterday = QStringLiteral("2026/12/09");

// Every piece in its own place, upright.
Arrangement sorted()
{
    Arrangement places;
    for (int s = 0; s < 46; ++s)
        places[std::size_t(s)] = {s, 0};
    return places;
}

ArrangementLine attempt(const Arrangement &places, int problem = 1, const QString &date = Today,
                        int number = 0)
{
    ArrangementLine line;
    line.recordNumber = number;
    line.date = date;
    line.problemNumber = problem;
    line.places = places;
    return line;
}

// Problem 1 is a man's cell, problem 2 a woman's.
const QStringList Problems = {QStringLiteral("male01"), QStringLiteral("女性02")};

std::array<int, 46> codesAll(int code)
{
    std::array<int, 46> codes;
    codes.fill(code);
    return codes;
}

QByteArray arrangementHeader()
{
    QByteArray header = *encodeCp932(QStringLiteral(" 試行No,日時,データファイル"));
    for (int place = 1; place <= 46; ++place)
        header += "," + QByteArray::number(place) + "," + QByteArray::number(place) +
                  *encodeCp932(QStringLiteral("向き"));
    return header + "\r\n";
}

} // namespace

class TestConfusions : public QObject
{
    Q_OBJECT

private slots:
    void lineIsTheBoardAsScored()
    {
        BoardState board;
        board.SlotContents[16] = 18; // a 10 where a 9 belongs
        board.SlotContents[44] = 44;
        board.RotationStep[18] = 5;
        board.RotationStep[44] = 23;
        board.RotationStep[3] = 7; // lying on the spread: not part of the line
        ArrangementLine line;
        line.recordNumber = 12;
        line.date = Today;
        line.problemNumber = 7;
        line.places = ArrangementFile::arrangementOf(board);

        QByteArray expected = "12,2026/12/10,007";
        for (int s = 0; s < 46; ++s)
            expected += s == 16 ? ",18,5" : s == 44 ? ",44,23" : ",-1,0";
        QCOMPARE(ArrangementFile::lineText(line).toLatin1(), expected);

        const ArrangementFile::ReadResult back =
            ArrangementFile::parse(arrangementHeader() + expected + "\r\n");
        QVERIFY(back.damagedLines.empty());
        QCOMPARE(back.lines.size(), std::size_t(1));
        QCOMPARE(back.lines[0].recordNumber, 12);
        QCOMPARE(back.lines[0].date, Today);
        QCOMPARE(back.lines[0].problemNumber, 7);
        QVERIFY(back.lines[0].places == line.places);
    }

    void writtenWithTheRecordAndOnlyThen()
    {
        QTemporaryDir dir;
        const QString kek = dir.filePath(QStringLiteral("t.kek"));
        const QString arr = dir.filePath(QStringLiteral("t.arr"));
        QVERIFY(ResultsFile::create(kek).isEmpty());
        BoardState board;
        board.SlotContents[0] = 1;

        // No arrangement file yet: the first line brings the header with it.
        SavedAttempt saved = saveAttempt(kek, arr, Today, 3, codesAll(-1), 60, board);
        QVERIFY(saved.record.saved());
        QVERIFY(saved.arrangementError.isEmpty());
        saved = saveAttempt(kek, arr, Yesterday, 4, codesAll(-1), 61, board);
        QVERIFY(saved.arrangementError.isEmpty());
        const QByteArray twoLines = fileBytes(arr);
        QVERIFY(twoLines.startsWith(arrangementHeader() + "0,2026/12/10,003,1,0,-1,0,"));
        QVERIFY(twoLines.contains("\r\n1,2026/12/09,004,1,0,"));
        QVERIFY(twoLines.endsWith(",-1,0\r\n"));

        // An arrangement file that cannot be written costs the line, never the record.
        const QString blocked = dir.filePath(QStringLiteral("blocked.arr"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocked.arr")));
        saved = saveAttempt(kek, blocked, Today, 4, codesAll(-1), 61, board);
        QVERIFY(saved.record.saved());
        QCOMPARE(saved.record.recordNumber, 2);
        QVERIFY(!saved.arrangementError.isEmpty());

        // A record that could not be saved leaves the arrangement file alone.
        QVERIFY(QFile::remove(kek));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("t.kek"))); // cannot be read or replaced
        saved = saveAttempt(kek, arr, Today, 5, codesAll(1), 62, board);
        QVERIFY(!saved.record.saved());
        QVERIFY(saved.arrangementError.isEmpty());
        QCOMPARE(fileBytes(arr), twoLines);
    }

    void numberFollowsTheResultsAfterAnErase()
    {
        QTemporaryDir dir;
        const QString kek = dir.filePath(QStringLiteral("t.kek"));
        const QString arr = dir.filePath(QStringLiteral("t.arr"));
        QVERIFY(ResultsFile::create(kek).isEmpty());
        BoardState board;
        for (int i = 0; i < 3; ++i)
            saveAttempt(kek, arr, Today, 1, codesAll(-1), 10, board);
        QCOMPARE(ArrangementFile::read(arr).lines.size(), std::size_t(3));

        // Erased with the results: both files hold their headers alone.
        QVERIFY(ResultsFile::create(kek).isEmpty());
        QVERIFY(ArrangementFile::reset(arr).isEmpty());
        QCOMPARE(fileBytes(arr), arrangementHeader());
        saveAttempt(kek, arr, Today, 2, codesAll(-1), 10, board);
        saveAttempt(kek, arr, Today, 2, codesAll(-1), 10, board);
        ArrangementFile::ReadResult read = ArrangementFile::read(arr);
        QCOMPARE(read.lines.size(), std::size_t(2));
        QCOMPARE(read.lines[0].recordNumber, 0);
        QCOMPARE(read.lines[1].recordNumber, 1);

        // Results erased while the arrangement file could not be: the first new record starts
        // it again, so no old line is taken for a new attempt.
        QVERIFY(ResultsFile::create(kek).isEmpty());
        saveAttempt(kek, arr, Today, 2, codesAll(-1), 10, board);
        read = ArrangementFile::read(arr);
        QCOMPARE(read.lines.size(), std::size_t(1));
        QCOMPARE(read.lines[0].recordNumber, 0);
        const auto attempts = matchAttempts(ResultsFile::read(kek).records, read.lines);
        QCOMPARE(attempts.size(), std::size_t(1));
        QCOMPARE(attempts[0].arrangement, 0);
    }

    void damagedLinesSkippedAndCounted_data()
    {
        QTest::addColumn<QByteArray>("line");
        const QByteArray good = ArrangementFile::lineText(attempt(sorted(), 1)).toLatin1();
        QTest::newRow("sound") << good;
        QTest::newRow("cut short") << good.left(good.size() - 5);
        QTest::newRow("one field more") << good + ",0";
        QTest::newRow("piece 46") << QByteArray(good).replace(",45,0", ",46,0");
        QTest::newRow("step 24") << QByteArray(good).replace(",45,0", ",45,24");
        QTest::newRow("piece in two places") << QByteArray(good).replace(",45,0", ",44,0");
        QTest::newRow("not a number") << QByteArray(good).replace(",45,0", ",4x,0");
        QTest::newRow("problem 0") << QByteArray(good).replace(",001,", ",000,");
        QTest::newRow("not code page 932") << QByteArray(good).replace("2026", "\x81\x20\xff");
    }
    void damagedLinesSkippedAndCounted()
    {
        QFETCH(QByteArray, line);
        const QByteArray good = ArrangementFile::lineText(attempt(sorted(), 2)).toLatin1();
        const auto read =
            ArrangementFile::parse(arrangementHeader() + good + "\r\n" + line + "\r\n" + good);
        const bool sound = QByteArray(QTest::currentDataTag()) == "sound";
        QCOMPARE(read.lines.size(), std::size_t(sound ? 3 : 2));
        QCOMPARE(read.damagedLines, sound ? std::vector<qsizetype>{} : std::vector<qsizetype>{3});
    }

    void lostHeaderIsCountedAndAppendKeepsTheBytes()
    {
        const QByteArray line = ArrangementFile::lineText(attempt(sorted(), 1)).toLatin1();
        const QByteArray damaged = "garbage\r\n" + line; // no final line end
        const auto read = ArrangementFile::parse(damaged);
        QCOMPARE(read.damagedLines, std::vector<qsizetype>{1});
        QCOMPARE(read.lines.size(), std::size_t(1));

        const QByteArray appended =
            ArrangementFile::appendToBytes(damaged, attempt(sorted(), 1, Today, 4));
        QVERIFY(appended.startsWith(damaged + "\r\n4,"));
        QVERIFY(ArrangementFile::appendToBytes({}, attempt(sorted(), 1, Today, 4))
                    .startsWith(arrangementHeader() + "4,"));
    }

    void appendedWhereTheFileLies()
    {
        QTemporaryDir dir;
        const QString arr = dir.filePath(QStringLiteral("t.arr"));
        const QByteArray first = ArrangementFile::lineText(attempt(sorted(), 1)).toLatin1();

        // The bytes are the ones the composer gives, an unended last line included.
        QVERIFY(writeBytes(arr, arrangementHeader() + first));
        const ArrangementLine second = attempt(sorted(), 2, Today, 1);
        QCOMPARE(ArrangementFile::append(arr, second), QString());
        const QByteArray two = ArrangementFile::appendToBytes(arrangementHeader() + first, second);
        QCOMPARE(fileBytes(arr), two);

        // An append a crash cut short: left out by the reader, cut away by the next append.
        QVERIFY(writeBytes(arr, two + "2,2026/12/10,003,0,0,1"));
        QVERIFY(writeBytes(unfinishedAppendNotePath(arr), QByteArray::number(two.size()) + "\n"));
        const ArrangementFile::ReadResult read = ArrangementFile::read(arr);
        QCOMPARE(read.lines.size(), std::size_t(2));
        QVERIFY(read.damagedLines.empty());
        const ArrangementLine third = attempt(sorted(), 3, Today, 2);
        QCOMPARE(ArrangementFile::append(arr, third), QString());
        QCOMPARE(fileBytes(arr), ArrangementFile::appendToBytes(two, third));
        QVERIFY(!QFile::exists(unfinishedAppendNotePath(arr)));
    }

    // A trainee may be scoring while the file is read: a last line without its line end may be
    // half-written, so it is left out whole, never counted nor taken for a damaged line.
    void lineStillBeingWrittenIsLeftOut_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("cut"); // bytes of the last line not written yet
        QTest::addColumn<int>("counted");
        QTest::newRow("CR LF") << QByteArray("\r\n") << 0 << 2;
        QTest::newRow("CR alone") << QByteArray("\r") << 0 << 2;
        QTest::newRow("no line end") << QByteArray() << 0 << 1;
        QTest::newRow("half a line") << QByteArray() << 30 << 1;
    }
    void lineStillBeingWrittenIsLeftOut()
    {
        QFETCH(QByteArray, end);
        QFETCH(int, cut);
        QFETCH(int, counted);
        QByteArray kek = *encodeCp932(ResultsHeader) + "\r\n";
        QByteArray arr = arrangementHeader();
        for (int r = 0; r < 2; ++r) {
            kek += ResultsFile::recordLine(r, Today, 1, codesAll(1), 30).toLatin1() + "\r\n";
            arr += ArrangementFile::lineText(attempt(sorted(), 1, Today, r)).toLatin1();
            arr += r == 0 ? QByteArray("\r\n") : end;
        }
        QTemporaryDir dir;
        const QString kekPath = dir.filePath(QStringLiteral("a.kek"));
        const QString arrPath = dir.filePath(QStringLiteral("a.arr"));
        QVERIFY(writeBytes(kekPath, kek));
        QVERIFY(writeBytes(arrPath, arr.chopped(cut)));

        const ArrangementFile::ReadResult whole = ArrangementFile::read(arrPath);
        QCOMPARE(whole.lines.size(), std::size_t(counted));
        QVERIFY(whole.damagedLines.empty());
        const ConfusionData read = readConfusions(kekPath, arrPath, Problems, TodayDate(Today));
        QCOMPARE(read.counts.all.attempts, counted);
        QCOMPARE(read.withoutArrangement, 2 - counted);
        QVERIFY(read.damagedLines.empty());
    }

    void tableOfHandMadeAttempts()
    {
        Arrangement swap = sorted();
        // Pieces 16, 17 are class 9, pieces 18, 19 class 10: one of each swapped.
        swap[16] = {18, 0};
        swap[18] = {16, 1};
        Arrangement turned = sorted();
        turned[0] = {0, 12}; // class 1 upside down in its own place
        turned[1] = {1, 3};  // 45 degrees one way: still too far
        turned[2] = {2, 21}; // 45 degrees the other way: upright
        Arrangement gaps = sorted();
        gaps[5] = {-1, 0};
        gaps[45] = {-1, 0};
        gaps[44] = {45, 0}; // male: Y in the X place
        Arrangement female = sorted();
        female[44] = {45, 0}; // either X in either X place
        female[45] = {44, 22};

        const std::vector<ArrangementLine> lines = {
            attempt(swap, 1), attempt(turned, 1, Yesterday), attempt(gaps, 1), attempt(female, 2),
            attempt(sorted(), 3) // problem 3 is not installed
        };
        const ConfusionCounts counts =
            countConfusions(lines, InstalledSexes(Problems), TodayDate(Today));

        const ConfusionTable &all = counts.all;
        QCOMPARE(all.attempts, 4);
        QCOMPARE(counts.uninstalledProblems, 1);
        QCOMPARE(all.cell(9, 10), 1);
        QCOMPARE(all.cell(10, 9), 1);
        QCOMPARE(all.cell(9, 9), 7);
        QCOMPARE(all.turned[0], 2);
        QCOMPARE(all.cell(1, 1), 6);
        QCOMPARE(all.cell(2, 2), 8);
        QCOMPARE(all.cell(3, 25), 1);
        QCOMPARE(all.cell(24, 25), 1);
        QCOMPARE(all.cell(23, 24), 1); // a Y where the X belongs
        // Female: both places want X; the male attempts add one X place each.
        QCOMPARE(all.cell(23, 23), 2 + 2);
        QCOMPARE(all.cell(24, 24), 2);
        // Every place of every counted attempt lands in exactly one cell or in turned.
        int sum = 0;
        for (const auto &row : all.counts)
            for (int c : row)
                sum += c;
        for (int t : all.turned)
            sum += t;
        QCOMPARE(sum, 4 * 46);

        QCOMPARE(counts.today.attempts, 3);
        QCOMPARE(counts.today.turned[0], 0);
        QCOMPARE(counts.today.cell(9, 10), 1);
        QCOMPARE(all.largestConfusion(), 1);
    }

    void topFiveInWords()
    {
        ConfusionTable table;
        table.cell(9, 10) = 4;
        table.cell(10, 9) = 2;
        table.cell(ClassX, 7) = 2;
        table.cell(3, 4) = 2;
        table.cell(3, 2) = 2;
        table.cell(ClassY, ClassX) = 1;
        table.cell(1, 2) = 1;
        table.cell(5, 5) = 40;          // right places are not mix-ups
        table.cell(5, EmptyColumn) = 9; // nor are empty ones
        table.turned[0] = 12;

        QStringList sentences;
        for (const Confusion &c : topConfusions(table))
            sentences << confusionSentence(c);
        QCOMPARE(sentences,
                 QStringList(
                     {QStringLiteral("9番の位置に10番: 4回"), QStringLiteral("3番の位置に2番: 2回"),
                      QStringLiteral("3番の位置に4番: 2回"), QStringLiteral("10番の位置に9番: 2回"),
                      QStringLiteral("Xの位置に7番: 2回")}));
        QCOMPARE(confusionSentence(topConfusions(table, 7).back()),
                 QStringLiteral("Yの位置にX: 1回"));
        QVERIFY(topConfusions(ConfusionTable{}).empty());
    }

    void whatTheWindowSays()
    {
        ConfusionTable table;
        QCOMPARE(confusionSummary(table), QStringLiteral("数えられる試行がありません。"));
        table.attempts = 2;
        table.turned[0] = 1;
        table.turned[ClassX - 1] = 2;
        QCOMPARE(confusionSummary(table),
                 QStringLiteral("取り違えはありません。\n番号は正しく向きが違うもの: 3回"));
        table.cell(ClassY, 1) = 1;
        QCOMPARE(confusionSummary(table),
                 QStringLiteral("Yの位置に1番: 1回\n番号は正しく向きが違うもの: 3回"));

        // A missing arrangement file: the attempts are listed, none is counted, and it is said.
        QByteArray kek = *encodeCp932(ResultsHeader) + "\r\n";
        kek += ResultsFile::recordLine(0, Today, 1, codesAll(1), 30).toLatin1() + "\r\n";
        kek += ResultsFile::recordLine(1, Today, 9, codesAll(1), 30).toLatin1() + "\r\n";
        ArrangementFile::ReadResult missing;
        missing.error = QStringLiteral("no file");
        ConfusionData data =
            gatherConfusions(ResultsFile::parse(kek), missing, Problems, TodayDate(Today));
        QCOMPARE(data.attempts.size(), std::size_t(2));
        QCOMPARE(data.counts.all.attempts, 0);
        QCOMPARE(confusionNotices(data),
                 QStringLiteral("配置の記録がない試行 2回は数えていません。"));

        // Damaged lines and an uninstalled problem are named too.
        const auto read = ArrangementFile::parse(
            arrangementHeader() + "broken\r\n" +
            ArrangementFile::lineText(attempt(sorted(), 1, Today, 0)).toLatin1() + "\r\n" +
            ArrangementFile::lineText(attempt(sorted(), 9, Today, 1)).toLatin1() + "\r\n");
        data = gatherConfusions(ResultsFile::parse(kek), read, Problems, TodayDate(Today));
        QCOMPARE(data.counts.all.attempts, 1);
        QCOMPARE(confusionNotices(data),
                 QStringLiteral("配置の記録の壊れた行 1行を読み飛ばしました。\n"
                                "インストールされていない問題の試行 1回は数えていません。"));

        QCOMPARE(replayRefusal(data.attempts[0], 2), QString());
        QCOMPARE(
            replayRefusal(data.attempts[1], 2),
            QStringLiteral("問題 009 はインストールされていないため、この試行は再現できません。"));
        AttemptEntry unrecorded = data.attempts[0];
        unrecorded.arrangement = -1;
        QCOMPARE(replayRefusal(unrecorded, 2),
                 QStringLiteral("この試行は配置の記録がないため再現できません。"));
        QVERIFY(canReplay(data.attempts[0], 2));
        QVERIFY(!canReplay(data.attempts[1], 2));
        QVERIFY(!canReplay(unrecorded, 2));
    }

    // Read from the files, counting as the arrangement file is read and keeping only where each
    // line lies, the window gets what the lines read whole give: a later line of a number
    // replacing an earlier one, a mismatched problem, a quoted date, damaged lines, a record
    // line that is no record and a problem not installed. A replayed attempt is read again
    // from the file, and a file changed since is said so rather than shown as another attempt.
    void readFromTheFilesAsFromTheLines()
    {
        Arrangement swapped = sorted();
        std::swap(swapped[16].piece, swapped[18].piece);
        Arrangement turned = sorted();
        turned[3].rotationStep = 9;
        const QString Spaced = QStringLiteral("2026 12 10");
        QByteArray kek = *encodeCp932(ResultsHeader) + "\r\n";
        kek += ResultsFile::recordLine(0, Today, 1, codesAll(1), 30).toLatin1() + "\r\n";
        kek += ResultsFile::recordLine(1, Yesterday, 2, codesAll(0), 30).toLatin1() + "\r\n";
        kek += "broken line\r\n";
        kek += ResultsFile::recordLine(3, Today, 2, codesAll(1), 30).toLatin1() + "\r\n";
        kek += ResultsFile::recordLine(4, Spaced, 1, codesAll(1), 30).toLatin1() + "\r\n";
        kek += ResultsFile::recordLine(5, Today, 9, codesAll(1), 30).toLatin1() + "\n";
        kek += ResultsFile::recordLine(6, Today, 1, codesAll(1), 30).toLatin1() + "\r\n";
        const auto lineOf = [](const Arrangement &places, int problem, const QString &date,
                               int number) {
            return ArrangementFile::lineText(attempt(places, problem, date, number)).toLatin1() +
                   "\r\n";
        };
        QByteArray arr = arrangementHeader();
        arr += lineOf(swapped, 1, Today, 0);
        arr += lineOf(sorted(), 2, Yesterday, 1);
        arr += "damaged\r\n";
        arr += lineOf(turned, 1, Today, 3); // not record 3's problem
        arr += lineOf(swapped, 1, Spaced, 4);
        arr += lineOf(sorted(), 9, Today, 5);
        arr += lineOf(turned, 2, Yesterday, 1); // replaces the first line of record 1
        arr += lineOf(swapped, 1, Today, 6);
        arr += lineOf(sorted(), 1, Today, 6); // replaces it, then is replaced itself
        arr += lineOf(turned, 1, Today, 6);
        arr += lineOf(sorted(), 1, Today, 40); // no such record

        QTemporaryDir dir;
        const QString kekPath = dir.filePath(QStringLiteral("a.kek"));
        const QString arrPath = dir.filePath(QStringLiteral("a.arr"));
        writeBytes(kekPath, kek);
        writeBytes(arrPath, arr);
        const ConfusionData read = readConfusions(kekPath, arrPath, Problems, TodayDate(Today));
        const ConfusionData whole = gatherConfusions(
            ResultsFile::read(kekPath), ArrangementFile::read(arrPath), Problems, TodayDate(Today));

        QCOMPARE(read.attempts.size(), std::size_t(6));
        QCOMPARE(read.attempts.size(), whole.attempts.size());
        for (std::size_t a = 0; a < read.attempts.size(); ++a) {
            const AttemptEntry &r = read.attempts[a];
            const AttemptEntry &w = whole.attempts[a];
            QCOMPARE(r.recordNumber, w.recordNumber);
            QCOMPARE(r.date, w.date);
            QCOMPARE(r.problemNumber, w.problemNumber);
            QCOMPARE(r.correctCount, w.correctCount);
            QCOMPARE(r.arrangement >= 0, w.arrangement >= 0);
            if (r.arrangement < 0)
                continue;
            const ReplayLine replay = readAttemptArrangement(arrPath, read, r);
            QCOMPARE(replay.error, QString());
            QCOMPARE(replay.line.recordNumber, r.recordNumber);
            QCOMPARE(replay.line.date, r.date);
            QVERIFY(replay.line.places == whole.lines[std::size_t(w.arrangement)].places);
        }
        QCOMPARE(read.attempts[5].date, Today);
        QCOMPARE(read.attempts[3].date, Spaced);
        for (const ConfusionTable ConfusionCounts::*table :
             {&ConfusionCounts::all, &ConfusionCounts::today}) {
            QCOMPARE((read.counts.*table).counts, (whole.counts.*table).counts);
            QCOMPARE((read.counts.*table).turned, (whole.counts.*table).turned);
            QCOMPARE((read.counts.*table).attempts, (whole.counts.*table).attempts);
        }
        QCOMPARE(read.counts.all.attempts, 4);
        QCOMPARE(read.counts.today.attempts, 2);
        QCOMPARE(read.counts.uninstalledProblems, 1);
        QCOMPARE(read.withoutArrangement, 1);
        QCOMPARE(read.damagedLines, std::vector<qsizetype>({4}));
        QCOMPARE(confusionNotices(read), confusionNotices(whole));

        // The history erased meanwhile: the attempt is not there to show.
        writeBytes(arrPath, arrangementHeader());
        QCOMPARE(readAttemptArrangement(arrPath, read, read.attempts[0]).error,
                 QStringLiteral("配置の記録が変わったため、この試行を再現できません。"
                                "取り違えを開き直してください。"));

        // Without the results file there is nothing to list; it is said why.
        const ConfusionData none = readConfusions(dir.filePath(QStringLiteral("none.kek")), arrPath,
                                                  Problems, TodayDate(Today));
        QVERIFY(none.attempts.empty());
        QVERIFY(none.resultsError.startsWith(QStringLiteral("成績ファイルを読めません。")));
    }

    void heatScale()
    {
        QCOMPARE(heatColour(0, 5), QColor(0xFFFFFF));
        QCOMPARE(heatColour(5, 5), QColor(0xD02020));
        QCOMPARE(heatColour(9, 5), QColor(0xD02020));
        const QColor half = heatColour(1, 2);
        QVERIFY(half.red() < 0xFF && half.red() > 0xD0 && half.green() > 0x20);
    }

    void attemptsMatchedByNumberDateAndProblem()
    {
        QByteArray kek = *encodeCp932(ResultsHeader) + "\r\n";
        std::array<int, 46> codes = codesAll(1);
        codes[3] = 0;
        kek += ResultsFile::recordLine(0, Today, 1, codes, 30).toLatin1() + "\r\n";
        kek += "broken line\r\n";
        // Left out of the records, yet they were numbered when written.
        kek += "\x81\x20 not code page 932\r\n\x81\x20 nor this\r\n";
        kek += ResultsFile::recordLine(4, Today, 2, codesAll(1), 30).toLatin1() + "\r\n";
        kek += ResultsFile::recordLine(5, Today, 2, codesAll(1), 30).toLatin1() + "\r\n";
        const std::vector<ArrangementLine> lines = {
            attempt(sorted(), 1, Today, 0),
            attempt(sorted(), 1, Today, 4), // not record 4's problem
            attempt(sorted(), 2, Today, 5)};
        const auto attempts = matchAttempts(ResultsFile::parse(kek).records, lines);
        QCOMPARE(attempts.size(), std::size_t(3));
        QCOMPARE(attempts[0].recordNumber, 0);
        QCOMPARE(attempts[0].correctCount, 45);
        QCOMPARE(attempts[0].arrangement, 0);
        QCOMPARE(attempts[1].recordNumber, 4);
        QCOMPARE(attempts[1].arrangement, -1);
        QCOMPARE(attempts[2].recordNumber, 5);
        QCOMPARE(attempts[2].arrangement, 2);
        QCOMPARE(matchedLines(attempts, lines).size(), std::size_t(2));
    }
};

QTEST_GUILESS_MAIN(TestConfusions)
#include "test_confusions.moc"
