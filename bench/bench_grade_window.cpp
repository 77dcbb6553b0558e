// The grade analysis window opening from the exercise window's "成績分析" button until it has been
// painted, through the program's own windows, on histories of 0 (the header alone), 1,000 and
// 10,000 records; beside it, in the same run on the same files, the peer: reading and splitting
// the file (ResultsFile::read). Benchmarks are named "<records>/<what>":
//   first  the first opening after a login: button click to the end of the first paint
//   open   a later opening, timed the same way
//   read   ResultsFile::read of the same file
// All three in wall-clock time, measured by the benchmark itself. Ratios and the opening times
// with their goal are printed after the table (bench/RatioTable.h). Run by scripts/bench.sh
// offscreen; under a real X server (QT_QPA_PLATFORM=xcb with DISPLAY set) painting costs more.

#include "LoggedIn.h"
#include "RatioTable.h"

#include "core/board/ProblemFolder.h"
#include "core/results/ResultsDate.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TPasswordDlg.h"
#include "ui/exercise/TForm1.h"
#include "ui/results/TOKBottomDlg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace queldo;

namespace {

const int Sizes[] = {0, 1000, 10000};
const QString Trainee = QStringLiteral("bench");

// A trainee's history: a year of days, most places right, a few wrong, empty or turned.
QByteArray history(int records)
{
    QRandomGenerator random(quint32(records + 1));
    QByteArray bytes = *encodeCp932(ResultsHeader) + "\r\n";
    const QDate last = QDate::currentDate();
    const QDate first = last.addDays(-365);
    for (int r = 0; r < records; ++r) {
        std::array<int, 46> codes;
        for (int &code : codes) {
            const quint32 roll = random.bounded(100);
            code = roll < 92 ? 1 : roll < 96 ? 0 : roll < 98 ? -1 : -2;
        }
        const QDate day = first.addDays(qint64(r) * 366 / records);
        bytes += *encodeCp932(ResultsFile::recordLine(r, resultsDateText(day),
                                                      1 + int(random.bounded(10)), codes,
                                                      120 + int(random.bounded(900)))) +
                 "\r\n";
    }
    return bytes;
}

// Ends the modal window's showing once its first paint has been done, and keeps the time.
class PaintStop : public QObject
{
public:
    PaintStop(QDialog *window, QElapsedTimer &clock) : m_window(window), m_clock(clock)
    {
        window->installEventFilter(this);
    }
    double seconds = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && seconds < 0) {
            // Queued: it runs once the whole window, charts included, has been painted.
            QTimer::singleShot(0, m_window, [this] {
                seconds = double(m_clock.nsecsElapsed()) / 1e9;
                m_window->reject();
            });
        }
        return false;
    }

private:
    QDialog *m_window;
    QElapsedTimer &m_clock;
};

// A program folder with the ten problems installed (folders are enough for the problem list)
// and one trainee per history size, each logged in to windows of its own.
struct Program
{
    QTemporaryDir dir;
    std::unique_ptr<ProgramWindows> windows;
    QString resultsPath;
};

std::map<int, std::unique_ptr<Program>> programs;
void startProgram(Program &p);

Program &programFor(int records)
{
    std::unique_ptr<Program> &slot = programs[records];
    if (slot)
        return *slot;
    slot = std::make_unique<Program>();
    Program &p = *slot;
    QDir root(p.dir.path());
    for (const QString &name : knownProblemNames())
        root.mkpath(QStringLiteral("Images/") + name);
    root.mkpath(QStringLiteral("Result/") + Trainee);
    const QString stem = root.filePath(QStringLiteral("Result/%1/%1").arg(Trainee));
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    };
    write(stem + QStringLiteral(".pas"), "pw\r\n");
    write(stem + QStringLiteral(".set"), "0\r\n0\r\n0\r\n0.699999988079071\r\n");
    p.resultsPath = stem + QStringLiteral(".kek");
    write(p.resultsPath, history(records));

    startProgram(p);
    return p;
}

// The program's windows made afresh and logged in, as at the start of a trainee's session.
void startProgram(Program &p)
{
    p.windows.reset();
    p.windows = bench::loggedIn(p.dir.path(), Trainee, QStringLiteral("pw"));
}

// One opening from the button: the time until the window has been painted.
double openAnalysis(Program &p)
{
    QElapsedTimer clock;
    PaintStop stop(&p.windows->analysis(), clock);
    clock.start();
    p.windows->exercise()->findChild<QPushButton *>(QStringLiteral("Button3"))->click();
    return stop.seconds;
}

std::string caseOf(int records)
{
    return std::to_string(records);
}

template <typename Fn> void add(const char *what, int records, Fn fn)
{
    const std::string name = caseOf(records) + "/" + what;
    benchmark::RegisterBenchmark(name.c_str(),
                                 [records, fn](benchmark::State &state) {
                                     Program &p = programFor(records);
                                     if (!p.windows->exercise()) {
                                         state.SkipWithError("the login failed");
                                         return;
                                     }
                                     for (auto _ : state)
                                         state.SetIterationTime(fn(p));
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

void registerAll()
{
    for (int n : Sizes) {
        // The first opening of a session also lays out the charts' axes and labels; the login
        // before it is not timed.
        add("first", n, [](Program &p) {
            startProgram(p);
            return openAnalysis(p);
        });
        add("open", n, [](Program &p) { return openAnalysis(p); });
        add("read", n, [](Program &p) {
            QElapsedTimer clock;
            clock.start();
            benchmark::DoNotOptimize(ResultsFile::read(p.resultsPath).records.size());
            return double(clock.nsecsElapsed()) / 1e9;
        });
    }
}

void printRatios(const bench::MedianReporter &times)
{
    bench::RatioTable table(times);
    const std::vector<std::string> cases{caseOf(1000), caseOf(10000)};
    const std::string data = "1,000 and 10,000 records";
    table.group("grade window first opening", data, cases, "first", "read");
    table.group("grade window opening", data, cases, "open", "read");

    char text[240];
    std::snprintf(text, sizeof text,
                  "grade window (%s): medians of %d repetitions, wall-clock time from 成績分析 "
                  "to the painted window",
                  qPrintable(QGuiApplication::platformName()), times.repetitions());
    table.info(text);
    const double emptyOpen = times.seconds(caseOf(0) + "/open");
    for (int n : Sizes) {
        const std::string c = caseOf(n) + "/";
        const double first = times.seconds(c + "first") * 1e3,
                     open = times.seconds(c + "open") * 1e3;
        std::snprintf(text, sizeof text,
                      "grade window %6d records: first opening %.1f ms, later %.1f ms (%.1f ms "
                      "beyond an empty history's), read %.3f ms",
                      n, first, open, open - emptyOpen * 1e3, times.seconds(c + "read") * 1e3);
        table.info(text);
    }
    // No visible pause: under a tenth of a second, the first opening included.
    const double first = times.seconds(caseOf(10000) + "/first") * 1e3;
    if (!std::isnan(first)) {
        std::snprintf(text, sizeof text,
                      "grade window first opening at 10000 records: %.1f ms, goal < 100 ms: %s",
                      first, first < 100 ? "met" : "not met");
        table.info(text);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAll();
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter);
    programs.clear();
    return 0;
}
