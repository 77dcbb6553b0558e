// The results file and the grade statistics against their peer, in one run on the same files of
// 1,000, 10,000 and 100,000 generated records:
//   baseline    Qt alone: read the bytes, QStringDecoder ("windows-31j"), split at CR LF
//   read        ResultsFile::read: every record split into its 50 fields
//   count       ResultsFile::count: the number of records and of today's
//   statistics  ResultsFile::read followed by GradeStatistics::compute, as the analysis opens
//   append      ResultsFile::append of one record (wall-clock time: it waits for the disk)
//   flush       the same atomic write of a one-line file: what the disk costs by itself
// Ratios and the figures with absolute goals are printed after the table (bench/RatioTable.h).

#include "RatioTable.h"
#include "core/board/ProblemFolder.h"
#include "core/results/GradeStatistics.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace queldo;

namespace {

const std::vector<int> Sizes = {1000, 10000, 100000};
const QString Today = QStringLiteral("2026/12/10");

// A trainee's history: a year of days, most places right, a few wrong, empty or turned.
QByteArray history(int records)
{
    QRandomGenerator random{quint32(records)};
    QByteArray bytes = *encodeCp932(ResultsHeader) + "\r\n";
    const QDate first = QDate(2026, 12, 10).addDays(-365);
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

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::string caseOf(int records)
{
    return std::to_string(records);
}

struct Files
{
    QTemporaryDir dir;
    std::map<int, qint64> sizes;
    std::map<int, qsizetype> held;
};

// Registers one benchmark, named "<records>/<what>"; fn runs once per iteration.
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

void registerAll(Files &files)
{
    for (int n : Sizes) {
        const QString path = files.dir.filePath(QStringLiteral("h%1.kek").arg(n));
        const QByteArray bytes = history(n);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("bench_results: cannot write %s", qPrintable(path));
        file.close();
        files.sizes[n] = bytes.size();
        files.held[n] = ResultsFile::read(path).records.heldBytes();

        add("baseline", n, [path](benchmark::State &) {
            QStringDecoder decoder("windows-31j");
            const QString text = decoder(fileBytes(path));
            benchmark::DoNotOptimize(text.split(QStringLiteral("\r\n")).size());
        });
        add("read", n, [path](benchmark::State &) {
            benchmark::DoNotOptimize(ResultsFile::read(path).records.size());
        });
        add("count", n, [path](benchmark::State &) {
            benchmark::DoNotOptimize(ResultsFile::count(path, Today).today);
        });
        add("statistics", n, [path](benchmark::State &) {
            const GradeStatistics stats = GradeStatistics::compute(
                ResultsFile::read(path), TodayDate(Today), knownProblemNames());
            benchmark::DoNotOptimize(stats.OverallReport.size());
        });

        // A copy of its own, so that the appends do not lengthen the file the others read.
        const QString appendPath = files.dir.filePath(QStringLiteral("a%1.kek").arg(n));
        QFile::copy(path, appendPath);
        std::array<int, 46> codes;
        codes.fill(1);
        add("append", n, [appendPath, codes](benchmark::State &state) {
            if (!ResultsFile::append(appendPath, Today, 3, codes, 321).isEmpty())
                state.SkipWithError("append failed");
        })->UseRealTime();
        const QString flushPath = files.dir.filePath(QStringLiteral("f%1.kek").arg(n));
        add("flush", n, [flushPath](benchmark::State &state) {
            if (!writeFileAtomically(flushPath, "0,2026/12/10,003\r\n").isEmpty())
                state.SkipWithError("write failed");
        })->UseRealTime();
    }
}

void printRatios(const bench::MedianReporter &times, const Files &files)
{
    bench::RatioTable table(times);
    std::vector<std::string> cases;
    for (int n : Sizes)
        cases.push_back(caseOf(n));
    const std::string data = "1,000 to 100,000 records";
    table.group("results read", data, cases, "read", "baseline", {NAN, 3.0});
    table.group("results count", data, cases, "count", "baseline");
    table.group("grade statistics", data, cases, "statistics", "read", {NAN, 2.0});
    table.group("results append", data, cases, "append", "flush");

    char text[200];
    std::snprintf(text, sizeof text,
                  "results: medians of %d repetitions; append and flush in wall-clock time, the "
                  "rest in CPU time",
                  times.repetitions());
    table.info(text);
    for (int n : Sizes) {
        const std::string c = caseOf(n) + "/";
        std::snprintf(text, sizeof text,
                      "results %6d records: baseline %.3f ms, read %.3f ms, count %.3f ms, "
                      "statistics %.3f ms, append %.3f ms (flush %.3f ms), %.2f bytes held per "
                      "byte of file",
                      n, times.seconds(c + "baseline") * 1e3, times.seconds(c + "read") * 1e3,
                      times.seconds(c + "count") * 1e3, times.seconds(c + "statistics") * 1e3,
                      times.seconds(c + "append") * 1e3, times.seconds(c + "flush") * 1e3,
                      double(files.held.at(n)) / double(files.sizes.at(n)));
        table.info(text);
    }
    // Appending waits for the disk, so its goals are times rather than ratios.
    for (const auto &[n, limit] : {std::pair{10000, 10.0}, std::pair{100000, 100.0}}) {
        const double ms = times.seconds(caseOf(n) + "/append") * 1e3;
        if (std::isnan(ms))
            continue;
        std::snprintf(text, sizeof text, "results append at %d records: %.3f ms, goal < %g ms: %s",
                      n, ms, limit, ms < limit ? "met" : "not met");
        table.info(text);
    }
    std::string growth = "results growth per tenfold records (10 is linear):";
    for (const char *what : {"baseline", "read", "count", "statistics", "append"}) {
        const double small = times.seconds("1000/" + std::string(what));
        const double middle = times.seconds("10000/" + std::string(what));
        const double large = times.seconds("100000/" + std::string(what));
        std::snprintf(text, sizeof text, " %s %.1f, %.1f;", what, middle / small, large / middle);
        growth += text;
    }
    table.info(growth);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Files files;
    registerAll(files);
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter, files);
    return 0;
}
