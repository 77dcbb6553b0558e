// The arrangement file and the confusion table against their peers, in one run on histories of
// 1,000 and 10,000 generated attempts:
//   baseline    Qt alone: read the bytes and split them at line ends
//   read        ArrangementFile::read: every line checked and turned into its 46 places
//   confusions  countConfusions over the lines already read, all and today's
//   analysis    read followed by countConfusions, as the confusion window opens
//   append      ArrangementFile::append of one line (wall-clock time: it waits for the disk)
//   record      ResultsFile::append of one record to a results file of as many records
// Ratios and the figures with absolute goals are printed after the table (bench/RatioTable.h).

#include "RatioTable.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ArrangementFile.h"
#include "core/results/Confusions.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace queldo;

namespace {

const std::vector<int> Sizes = {1000, 10000};
const QString Today = QStringLiteral("2026/12/10");

// A trainee's attempts: most pieces in their place, a few swapped with a neighbour, left out or
// turned, the whole over a year of days and ten problems.
std::vector<ArrangementLine> attempts(int count)
{
    QRandomGenerator random{quint32(count)};
    std::vector<ArrangementLine> lines;
    const QDate first = QDate(2026, 12, 10).addDays(-365);
    for (int r = 0; r < count; ++r) {
        ArrangementLine line;
        line.recordNumber = r;
        line.date = resultsDateText(first.addDays(qint64(r) * 366 / count));
        line.problemNumber = 1 + int(random.bounded(10));
        for (int s = 0; s < 46; ++s)
            line.places[std::size_t(s)] = {s, int(random.bounded(100)) < 95 ? 0 : 12};
        for (int k = 0; k < 3; ++k) {
            const int s = int(random.bounded(44));
            std::swap(line.places[std::size_t(s)].piece,
                      line.places[std::size_t(s < 42 ? s + 2 : s - 2)].piece);
        }
        if (random.bounded(10) == 0)
            line.places[std::size_t(random.bounded(46))] = {-1, 0};
        lines.push_back(line);
    }
    return lines;
}

QByteArray arrangementBytes(const std::vector<ArrangementLine> &lines)
{
    QByteArray bytes = *encodeCp932(ArrangementHeader) + "\r\n";
    for (const ArrangementLine &line : lines)
        bytes += ArrangementFile::lineText(line).toLatin1() + "\r\n";
    return bytes;
}

QByteArray resultsBytes(int count)
{
    QByteArray bytes = *encodeCp932(ResultsHeader) + "\r\n";
    std::array<int, 46> codes;
    codes.fill(1);
    for (int r = 0; r < count; ++r)
        bytes += ResultsFile::recordLine(r, Today, 1, codes, 300).toLatin1() + "\r\n";
    return bytes;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeOrDie(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("bench_confusions: cannot write %s", qPrintable(path));
}

std::string caseOf(int records)
{
    return std::to_string(records);
}

template <typename Fn> benchmark::internal::Benchmark *add(const char *what, int records, Fn fn)
{
    const std::string name = caseOf(records) + "/" + what;
    return benchmark::RegisterBenchmark(name.c_str(),
                                        [fn](benchmark::State &state) {
                                            for (auto _ : state)
                                                fn(state);
                                        })
        ->Unit(benchmark::kMillisecond);
}

void registerAll(const QTemporaryDir &dir)
{
    const InstalledSexes sexes(knownProblemNames());
    for (int n : Sizes) {
        const std::vector<ArrangementLine> lines = attempts(n);
        const QString path = dir.filePath(QStringLiteral("h%1.arr").arg(n));
        writeOrDie(path, arrangementBytes(lines));
        if (ArrangementFile::read(path).lines.size() != std::size_t(n))
            qFatal("bench_confusions: the generated file does not read back");

        add("baseline", n, [path](benchmark::State &) {
            benchmark::DoNotOptimize(fileBytes(path).split('\n').size());
        });
        add("read", n, [path](benchmark::State &) {
            benchmark::DoNotOptimize(ArrangementFile::read(path).lines.size());
        });
        add("confusions", n, [lines, sexes](benchmark::State &) {
            benchmark::DoNotOptimize(countConfusions(lines, sexes, TodayDate(Today)).all.attempts);
        });
        add("analysis", n, [path, sexes](benchmark::State &) {
            const auto read = ArrangementFile::read(path);
            benchmark::DoNotOptimize(
                countConfusions(read.lines, sexes, TodayDate(Today)).all.attempts);
        });

        // Copies of their own, so that the appends do not lengthen the files the others read.
        const QString appendPath = dir.filePath(QStringLiteral("a%1.arr").arg(n));
        QFile::copy(path, appendPath);
        ArrangementLine next = lines.back();
        next.recordNumber = n;
        add("append", n, [appendPath, next](benchmark::State &state) {
            if (!ArrangementFile::append(appendPath, next).isEmpty())
                state.SkipWithError("append failed");
        })->UseRealTime();
        const QString recordPath = dir.filePath(QStringLiteral("r%1.kek").arg(n));
        writeOrDie(recordPath, resultsBytes(n));
        std::array<int, 46> codes;
        codes.fill(1);
        add("record", n, [recordPath, codes](benchmark::State &state) {
            if (!ResultsFile::append(recordPath, Today, 3, codes, 321).isEmpty())
                state.SkipWithError("append failed");
        })->UseRealTime();
    }
}

void printRatios(const bench::MedianReporter &times)
{
    bench::RatioTable table(times);
    std::vector<std::string> cases;
    for (int n : Sizes)
        cases.push_back(caseOf(n));
    const std::string data = "1,000 and 10,000 attempts";
    table.group("arrangement read", data, cases, "read", "baseline");
    table.group("confusions", data, cases, "confusions", "read");
    // Appending a line must cost no more than appending the record it goes with.
    table.group("arrangement append", data, cases, "append", "record", {NAN, 1.5});

    char text[200];
    std::snprintf(text, sizeof text,
                  "confusions: medians of %d repetitions; append and record in wall-clock time, "
                  "the rest in CPU time",
                  times.repetitions());
    table.info(text);
    for (int n : Sizes) {
        const std::string c = caseOf(n) + "/";
        std::snprintf(text, sizeof text,
                      "confusions %5d attempts: baseline %.3f ms, read %.3f ms, confusions %.3f "
                      "ms, analysis %.3f ms, append %.3f ms (record %.3f ms)",
                      n, times.seconds(c + "baseline") * 1e3, times.seconds(c + "read") * 1e3,
                      times.seconds(c + "confusions") * 1e3, times.seconds(c + "analysis") * 1e3,
                      times.seconds(c + "append") * 1e3, times.seconds(c + "record") * 1e3);
        table.info(text);
    }
    const double ms = times.seconds("10000/confusions") * 1e3;
    if (!std::isnan(ms)) {
        std::snprintf(text, sizeof text, "confusions of 10000 attempts: %.3f ms, goal < 50 ms: %s",
                      ms, ms < 50 ? "met" : "not met");
        table.info(text);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    registerAll(dir);
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter);
    return 0;
}
