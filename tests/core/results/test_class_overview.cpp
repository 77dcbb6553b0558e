#include "FileBytes.h"
#include "classgenerator.h"
#include "core/app/NewUserId.h"
#include "core/app/TeacherPassword.h"
#include "core/app/UserList.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ClassOverview.h"
#include "core/results/ClassOverviewText.h"
#include "core/results/ConfusionReading.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <sys/stat.h>
#include <thread>

using namespace queldo;
using namespace queldo::test;

namespace {

// A Thursday: the week runs from Monday 2026/12/07.
const OverviewDay Day{QDate(2026, 12, 10), QLocale(QLocale::Japanese, QLocale::Japan)};
const QStringList Problems = {QStringLiteral("male01"), QStringLiteral("女性02")};

struct Attempt
{
    QString date;
    int seconds;
    std::vector<std::pair<int, int>> swaps; // places whose pieces change places
    std::vector<int> empty;                 // places left empty
};

// Writes a trainee's two files as the program writes them, all attempts on problem 1 (a man's).
void writeTrainee(const QString &result, const QString &id, const std::vector<Attempt> &attempts,
                  const QByteArray &tail = {})
{
    const QString folder = QDir(result).filePath(id);
    QVERIFY(QDir().mkpath(folder));
    QByteArray results = *encodeCp932(ResultsHeader) + "\r\n";
    QByteArray arrangements = *encodeCp932(ArrangementHeader) + "\r\n";
    for (std::size_t r = 0; r < attempts.size(); ++r) {
        Arrangement places;
        for (int s = 0; s < 46; ++s)
            places[std::size_t(s)] = {s, 0};
        for (auto [a, b] : attempts[r].swaps)
            std::swap(places[std::size_t(a)], places[std::size_t(b)]);
        for (int s : attempts[r].empty)
            places[std::size_t(s)] = {-1, 0};
        std::array<int, 46> codes;
        for (int s = 0; s < 46; ++s)
            codes[std::size_t(s)] = places[std::size_t(s)].piece == s  ? 1
                                    : places[std::size_t(s)].piece < 0 ? -1
                                                                       : 0;
        results += ResultsFile::recordLine(int(r), attempts[r].date, 1, codes, attempts[r].seconds)
                       .toLatin1() +
                   "\r\n";
        arrangements +=
            ArrangementFile::lineText({int(r), attempts[r].date, 1, places}).toLatin1() + "\r\n";
    }
    QVERIFY(writeBytes(QDir(folder).filePath(id + ".kek"), results + tail));
    QVERIFY(writeBytes(QDir(folder).filePath(id + ".arr"), arrangements));
}

// Two trainees: aoki mixes up 9 and 10 this week; beppu mixed up 1 and 2 last Sunday and is
// scoring a second attempt whose line is not finished yet.
void writeClass(const QString &result)
{
    writeTrainee(result, QStringLiteral("aoki"),
                 {{QStringLiteral("2026/12/07"), 300, {}, {}},
                  {QStringLiteral("2026/12/09"), 200, {{16, 18}}, {}},
                  {QStringLiteral("2026/12/10"), 100, {{16, 18}}, {4}}});
    writeTrainee(result, QStringLiteral("beppu"),
                 {{QStringLiteral("2026/12/06"), 500, {{0, 2}}, {}}}, "1,2026/12/10,001,1,1,1");
}

const TraineeSummary *row(const ClassOverview &overview, const QString &id)
{
    for (const TraineeSummary &t : overview.trainees)
        if (t.id == id)
            return &t;
    return nullptr;
}

QStringList cells(const TraineeSummary &trainee)
{
    QStringList texts;
    for (int c = 0; c < OverviewColumnCount; ++c)
        texts << overviewCellText(trainee, OverviewColumn(c));
    return texts;
}

} // namespace

class TestClassOverview : public QObject
{
    Q_OBJECT

private slots:
    void figuresPerTrainee()
    {
        QTemporaryDir dir;
        writeClass(dir.path());
        const ClassOverview overview = readClassOverview(dir.path(), Problems, Day);
        QCOMPARE(overview.trainees.size(), std::size_t(2));
        QCOMPARE(cells(overview.trainees[0]),
                 QStringList({"aoki", "3", "2026/12/10", "33.3", "200.0", "46 44 43",
                              "9番、10番、3番", ""}));
        QCOMPARE(overview.trainees[0].lastDay, QDate(2026, 12, 10));
        // The unfinished second attempt is left out whole.
        QCOMPARE(cells(overview.trainees[1]),
                 QStringList({"beppu", "1", "2026/12/06", "0.0", "500.0", "44", "1番、2番", ""}));
    }

    void classConfusionsByPeriod()
    {
        QTemporaryDir dir;
        writeClass(dir.path());
        const ClassConfusions c = readClassOverview(dir.path(), Problems, Day).confusions;
        struct Expected
        {
            const ConfusionTable &table;
            int attempts, nineAsTen, oneAsTwo, threeEmpty;
        };
        for (const Expected &e : {Expected{c.today, 1, 1, 0, 1}, Expected{c.week, 3, 2, 0, 1},
                                  Expected{c.all, 4, 2, 1, 1}}) {
            QCOMPARE(e.table.attempts, e.attempts);
            QCOMPARE(e.table.cell(9, 10), e.nineAsTen);
            QCOMPARE(e.table.cell(10, 9), e.nineAsTen);
            QCOMPARE(e.table.cell(1, 2), e.oneAsTwo);
            QCOMPARE(e.table.cell(3, EmptyColumn), e.threeEmpty);
        }
        QCOMPARE(c.all.cell(9, 9), 6); // aoki's six places of 9 less two swaps, and beppu's two
        QCOMPARE(confusionSummary(c.all).section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("9番の位置に10番: 2回"));
    }

    // The class's tables count a trainee's attempts as the trainee's own 取り違え counts them, on
    // a history with every oddity the two files can hold.
    void confusionsAsTheTraineeCountsThem()
    {
        const QString today = QStringLiteral("2026/12/10");
        const QString monday = QStringLiteral("2026/12/07");
        const QString spaced = QStringLiteral("2026 12 10");
        std::array<int, 46> right;
        right.fill(1);
        Arrangement sorted, swapped, turned;
        for (int s = 0; s < 46; ++s)
            sorted[std::size_t(s)] = {s, 0};
        swapped = turned = sorted;
        std::swap(swapped[16].piece, swapped[18].piece);
        turned[3].rotationStep = 9;

        QByteArray kek = *encodeCp932(ResultsHeader) + "\r\n";
        const auto record = [&](int number, const QString &date, int problem) {
            kek += ResultsFile::recordLine(number, date, problem, right, 30).toLatin1() + "\r\n";
        };
        record(0, today, 1);
        record(1, monday, 2);
        kek += "broken line\r\n";
        record(3, today, 2);
        record(4, spaced, 1);
        record(5, today, 9); // a problem no longer installed
        record(6, today, 1);
        QByteArray arr = *encodeCp932(ArrangementHeader) + "\r\n";
        const auto line = [&](const Arrangement &places, int problem, const QString &date,
                              int number) {
            arr += ArrangementFile::lineText({number, date, problem, places}).toLatin1() + "\r\n";
        };
        line(swapped, 1, today, 0);
        line(sorted, 2, monday, 1);
        arr += "damaged\r\n";
        line(turned, 1, today, 3); // not record 3's problem
        line(swapped, 1, spaced, 4);
        line(sorted, 9, today, 5);
        line(turned, 2, monday, 1); // replaces the first line of record 1
        line(swapped, 1, today, 6);
        line(sorted, 1, today, 6); // replaces it, then is replaced itself
        line(turned, 1, today, 6);
        line(sorted, 1, today, 40); // no such record

        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("chiba")));
        QVERIFY(writeBytes(dir.filePath("chiba/chiba.kek"), kek));
        QVERIFY(writeBytes(dir.filePath("chiba/chiba.arr"), arr));
        const ClassConfusions c = readClassOverview(dir.path(), Problems, Day).confusions;
        const ConfusionData own =
            readConfusions(dir.filePath("chiba/chiba.kek"), dir.filePath("chiba/chiba.arr"),
                           Problems, TodayDate(Day.today, Day.locale));
        QCOMPARE(c.all.counts, own.counts.all.counts);
        QCOMPARE(c.all.turned, own.counts.all.turned);
        QCOMPARE(c.today.counts, own.counts.today.counts);
        QCOMPARE(c.today.turned, own.counts.today.turned);
        QCOMPARE(c.all.attempts, 4);
        QCOMPARE(c.today.attempts, 2);
        QCOMPARE(c.week.attempts, 3);  // the spaced date is no day of the week
        QCOMPARE(c.week.turned[1], 2); // place 4 (a 2) turned on Monday and today
        QCOMPARE(c.week.cell(9, 10), 1);
        QCOMPARE(c.uninstalledProblems, 1);
        QCOMPARE(c.withoutArrangement, 1);
    }

    void refreshReadsWhatChanged()
    {
        QTemporaryDir dir;
        writeClass(dir.path());
        ClassOverviewReader reader;
        QCOMPARE(row(reader.read(dir.path(), Problems, Day), "beppu")->meanSeconds, 500.0);
        // beppu's file changed without its size or time changing: it is taken as it was read.
        QFile beppu(dir.filePath("beppu/beppu.kek"));
        const QDateTime time = QFileInfo(beppu).lastModified();
        QByteArray bytes = fileBytes(beppu.fileName());
        QVERIFY(bytes.contains(",500\r\n"));
        QVERIFY(writeBytes(beppu.fileName(), bytes.replace(",500\r\n", ",900\r\n")));
        QVERIFY(beppu.open(QIODevice::ReadWrite));
        QVERIFY(beppu.setFileTime(time, QFileDevice::FileModificationTime));
        beppu.close();
        std::array<int, 46> codes;
        codes.fill(1);
        QVERIFY(ResultsFile::appendRecord(dir.filePath("aoki/aoki.kek"), "2026/12/10", 1, codes, 60)
                    .saved());
        ClassOverview second = reader.read(dir.path(), Problems, Day);
        QCOMPARE(row(second, "aoki")->attempts, 4);
        QCOMPARE(row(second, "beppu")->meanSeconds, 500.0);
        // A new time is a change, and so is another day.
        QVERIFY(beppu.open(QIODevice::ReadWrite));
        QVERIFY(beppu.setFileTime(time.addSecs(1), QFileDevice::FileModificationTime));
        beppu.close();
        QCOMPARE(row(reader.read(dir.path(), Problems, Day), "beppu")->meanSeconds, 900.0);
        const OverviewDay nextWeek{Day.today.addDays(7), Day.locale};
        QCOMPARE(reader.read(dir.path(), Problems, nextWeek).confusions.week.attempts, 0);
    }

    void oddEntriesShowAsSuch_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("note");
        QTest::newRow("folder is a link")
            << "link" << int(TraineeFolderState::Link) << "リンクのため読みません";
        QTest::newRow("results file is a link") << "kek-link" << int(TraineeFolderState::Link)
                                                << "成績ファイルがリンクのため読みません";
        QTest::newRow("plain file")
            << "file" << int(TraineeFolderState::Damaged) << "フォルダではありません";
        QTest::newRow("no results file")
            << "empty-folder" << int(TraineeFolderState::Damaged) << "成績ファイルがありません";
        QTest::newRow("results file is a pipe")
            << "fifo" << int(TraineeFolderState::Unreadable) << "";
        QTest::newRow("header only")
            << "header" << int(TraineeFolderState::NoAttempts) << "まだ練習していません";
        QTest::newRow("damaged lines")
            << "damaged" << int(TraineeFolderState::Practised) << "1行を読めませんでした";
    }
    void oddEntriesShowAsSuch()
    {
        QFETCH(QString, make);
        QFETCH(int, state);
        QFETCH(QString, note);
        QTemporaryDir dir;
        writeClass(dir.path());
        const QDir result(dir.path());
        const QString odd = QStringLiteral("odd");
        const QString folder = result.filePath(odd);
        const QString kek = folder + "/odd.kek";
        if (make == "link") {
            QVERIFY(QFile::link(result.filePath("aoki"), folder));
        } else if (make == "file") {
            QVERIFY(writeBytes(folder, "x"));
        } else {
            QVERIFY(result.mkdir(odd));
            if (make == "kek-link")
                QVERIFY(QFile::link(result.filePath("aoki/aoki.kek"), kek));
            else if (make == "fifo")
                QCOMPARE(mkfifo(QFile::encodeName(kek).constData(), 0600), 0);
            else if (make == "header")
                QVERIFY(writeBytes(kek, *encodeCp932(ResultsHeader) + "\r\n"));
            else if (make == "damaged")
                QVERIFY(writeBytes(kek, fileBytes(result.filePath("aoki/aoki.kek")) + "x,y\r\n"));
        }
        const ClassOverview overview = readClassOverview(dir.path(), Problems, Day);
        QCOMPARE(overview.trainees.size(), std::size_t(3));
        const TraineeSummary *t = row(overview, odd);
        QVERIFY(t);
        QCOMPARE(int(t->state), state);
        if (!note.isEmpty())
            QCOMPARE(t->note, note);
        else
            QVERIFY(!t->note.isEmpty());
        // The others are read whatever the odd one is.
        QCOMPARE(row(overview, "aoki")->attempts, 3);
        // odd has no arrangement file: its attempts never reach the tables.
        QCOMPARE(overview.confusions.all.attempts, 4);
    }

    void teacherFileIsNoTrainee()
    {
        QTemporaryDir dir;
        writeClass(dir.path());
        const QString path = teacherPasswordPath(dir.path());
        QCOMPARE(teacherPasswordStatus(path).state, TeacherPasswordState::NotSet);
        QVERIFY(!setTeacherPassword(path, "abc", "abd").isEmpty());
        QVERIFY(!setTeacherPassword(path, "", "").isEmpty());
        QCOMPARE(teacherPasswordStatus(path).state, TeacherPasswordState::NotSet);
        QCOMPARE(setTeacherPassword(path, "先生pw", "先生pw"), QString());
        QCOMPARE(teacherPasswordStatus(path).state, TeacherPasswordState::Set);
        QVERIFY(teacherPasswordMatches(path, "先生pw"));
        QVERIFY(!teacherPasswordMatches(path, "先生PW"));
        // Set once: a second setting does not replace it.
        QVERIFY(!setTeacherPassword(path, "other", "other").isEmpty());
        QVERIFY(teacherPasswordMatches(path, "先生pw"));
        // Stored hashed, and under a name no ID can take, listed as nobody's.
        QVERIFY(fileBytes(path).startsWith("$argon2id$"));
        QVERIFY(!idRefusal(QFileInfo(path).fileName()).isEmpty());
        QVERIFY(!UserList::read(dir.path()).ids().contains(QFileInfo(path).fileName()));
        QCOMPARE(readClassOverview(dir.path(), Problems, Day).trainees.size(), std::size_t(2));
    }

    void plainTeacherLineNeverLetsIn()
    {
        QTemporaryDir dir;
        const QString path = teacherPasswordPath(dir.path());
        QVERIFY(writeBytes(path, "secret\r\n"));
        QCOMPARE(teacherPasswordStatus(path).state, TeacherPasswordState::Unreadable);
        QVERIFY(!teacherPasswordMatches(path, "secret"));
    }

    void csvReadsBackAsShown()
    {
        QTemporaryDir dir;
        writeClass(dir.path());
        std::vector<TraineeSummary> trainees =
            readClassOverview(dir.path(), Problems, Day).trainees;
        TraineeSummary odd;
        odd.id = QStringLiteral("a,\"b\"");
        odd.state = TraineeFolderState::Damaged;
        odd.note = QStringLiteral("成績ファイルがありません");
        trainees.push_back(odd);
        const QByteArray csv = classOverviewCsv(trainees);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5); // titles, three rows, the empty rest after the last line end
        QCOMPARE(lines[0], QStringLiteral("ID,練習回数,最終練習日,全問正解(%),平均時間(秒),"
                                          "直近20回の正解数,間違いの多い染色体,状態"));
        QCOMPARE(lines[1], QStringLiteral("aoki,3,2026/12/10,33.3,200.0,46 44 43,9番、10番、3番,"));
        QCOMPARE(lines[3], QStringLiteral("\"a,\"\"b\"\"\",,,,,,,成績ファイルがありません"));
    }

    void trainingWhileReadingLosesNothing()
    {
        QTemporaryDir dir;
        writeClass(dir.path());
        const QString kek = dir.filePath("aoki/aoki.kek");
        const QString arr = dir.filePath("aoki/aoki.arr");
        constexpr int Appends = 40;
        std::atomic<bool> failed{false};
        std::atomic<bool> done{false};
        std::thread trainee([&] {
            std::array<int, 46> codes;
            codes.fill(1);
            Arrangement places;
            for (int s = 0; s < 46; ++s)
                places[std::size_t(s)] = {s, 0};
            for (int i = 0; i < Appends; ++i) {
                const AppendResult saved =
                    ResultsFile::appendRecord(kek, QStringLiteral("2026/12/10"), 1, codes, 60);
                if (!saved.saved() ||
                    !ArrangementFile::append(
                         arr, {saved.recordNumber, QStringLiteral("2026/12/10"), 1, places})
                         .isEmpty())
                    failed = true;
            }
            done = true;
        });
        int last = 3;
        while (!done) {
            const ClassOverview overview = readClassOverview(dir.path(), Problems, Day);
            const TraineeSummary *aoki = row(overview, "aoki");
            QVERIFY(aoki->attempts >= last);
            QCOMPARE(aoki->note, QString()); // never a line read half-written
            QVERIFY(overview.confusions.today.attempts <= aoki->attempts - 2);
            last = aoki->attempts;
        }
        trainee.join();
        QVERIFY(!failed);
        const ClassOverview after = readClassOverview(dir.path(), Problems, Day);
        QCOMPARE(row(after, "aoki")->attempts, 3 + Appends);
        QCOMPARE(after.confusions.today.attempts, 1 + Appends);
    }

    void generatedClassHasItsProfiles()
    {
        QTemporaryDir dir;
        classgen::ClassOptions options;
        options.lastDay = Day.today;
        QCOMPARE(classgen::writeClass(dir.path(), options), QString());
        const ClassOverview overview = readClassOverview(dir.path(), knownProblemNames(), Day, 2);
        QCOMPARE(overview.trainees.size(), std::size_t(30));
        int practisedToday = 0, without = 0;
        double best = 0, worst = 1;
        for (const TraineeSummary &t : overview.trainees) {
            QVERIFY2(t.note.isEmpty() || t.state == TraineeFolderState::NoAttempts,
                     qPrintable(t.id + t.note));
            without += t.state == TraineeFolderState::NoAttempts;
            practisedToday += t.lastDay == Day.today;
            if (t.attempts > 0) {
                best = std::max(best, t.perfectShare);
                worst = std::min(worst, t.perfectShare);
            }
        }
        QCOMPARE(without, 3);
        QVERIFY(practisedToday >= 5);
        QVERIFY(best > 0.5 && worst < 0.05);
        QVERIFY(overview.confusions.week.attempts > 0);
        QVERIFY(overview.confusions.today.attempts < overview.confusions.week.attempts);
    }
};

QTEST_GUILESS_MAIN(TestClassOverview)
#include "test_class_overview.moc"
