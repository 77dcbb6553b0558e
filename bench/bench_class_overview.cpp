// The class overview against plainly reading its files, in one run on a class of 100 trainees
// with 10,000 attempts each (a results and an arrangement file per trainee, about 400 MB):
//   baseline   Qt alone: read every trainee's two files and split them at line ends
//   overview   readClassOverview: every row and the class's confusions, as the window opens
//   one-core   the same on one thread, for what a machine with one core would take
//   refresh    the overview read again with nothing changed, as 更新 does
// All in wall-clock time: the overview reads on as many threads as there are cores; the CPU time
// of all threads is beside it (process_cpu_ms).
// Ratios and the one-second goal are printed after the table (bench/RatioTable.h).

#include "RatioTable.h"
#include "classgenerator.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ClassOverview.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include <sys/resource.h>

using namespace queldo;

namespace {

constexpr int Trainees = 100;
constexpr int Attempts = 10000;
// Ten different trainees, each written ten times under other IDs: generating a million
// attempts would take longer than the benchmark itself.
constexpr int Distinct = 10;
const QDate Today(2026, 12, 10);

void writeOrDie(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("bench_class_overview: cannot write %s", qPrintable(path));
}

void writeClass(const QString &result)
{
    for (int d = 0; d < Distinct; ++d) {
        const classgen::TraineeFiles files =
            classgen::traineeFiles(classgen::profileOf(d), Attempts, Today, quint32(d));
        for (int copy = d; copy < Trainees; copy += Distinct) {
            const QString id = classgen::traineeId(copy);
            const QDir folder(QDir(result).filePath(id));
            QDir().mkpath(folder.path());
            writeOrDie(folder.filePath(id + ".kek"), files.results);
            writeOrDie(folder.filePath(id + ".arr"), files.arrangements);
        }
    }
}

// Every thread's CPU time: the overview reads on several, and the machine it runs on is often
// busy with other work, so that wall-clock time alone says little.
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

qsizetype readPlainly(const QString &result)
{
    qsizetype lines = 0;
    QDirIterator it(result, {"*.kek", "*.arr"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            lines += file.readAll().split('\n').size();
    }
    return lines;
}

void registerAll(const QString &result)
{
    const OverviewDay day{Today, QLocale(QLocale::Japanese, QLocale::Japan)};
    const ClassOverview check = readClassOverview(result, knownProblemNames(), day);
    if (check.trainees.size() != std::size_t(Trainees) ||
        check.confusions.all.attempts != Trainees * Attempts)
        qFatal("bench_class_overview: the generated class does not read back");

    auto reg = [](const char *what, auto fn) {
        const std::string name = std::string("class/") + what;
        benchmark::RegisterBenchmark(name.c_str(),
                                     [fn](benchmark::State &state) {
                                         const double before = processCpuSeconds();
                                         for (auto _ : state)
                                             fn();
                                         state.counters["process_cpu_ms"] =
                                             (processCpuSeconds() - before) * 1e3 /
                                             double(state.iterations());
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    };
    reg("baseline", [result] { benchmark::DoNotOptimize(readPlainly(result)); });
    reg("overview", [result, day] {
        benchmark::DoNotOptimize(
            readClassOverview(result, knownProblemNames(), day).trainees.size());
    });
    // 更新 with nothing changed: every trainee's files looked at, none read again.
    auto reader = std::make_shared<ClassOverviewReader>();
    reader->read(result, knownProblemNames(), day);
    reg("refresh", [result, day, reader] {
        benchmark::DoNotOptimize(reader->read(result, knownProblemNames(), day).trainees.size());
    });
    reg("one-core", [result, day] {
        benchmark::DoNotOptimize(
            readClassOverview(result, knownProblemNames(), day, 1).trainees.size());
    });
}

void printRatios(const bench::MedianReporter &times)
{
    bench::RatioTable table(times);
    const std::string data = "100 trainees x 10,000 attempts";
    table.pair("class overview", data, "class", "overview", "baseline");
    table.pair("class overview, one core", data, "class", "one-core", "baseline");
    char text[200];
    std::snprintf(text, sizeof text,
                  "class overview: medians of %d repetitions, wall-clock time; baseline %.0f ms, "
                  "overview %.0f ms, one core %.0f ms, refresh %.1f ms",
                  times.repetitions(), times.seconds("class/baseline") * 1e3,
                  times.seconds("class/overview") * 1e3, times.seconds("class/one-core") * 1e3,
                  times.seconds("class/refresh") * 1e3);
    table.info(text);
    const double ms = times.seconds("class/overview") * 1e3;
    if (!std::isnan(ms)) {
        std::snprintf(text, sizeof text,
                      "class overview of 100 x 10000 attempts: %.0f ms, goal < 1000 ms: %s", ms,
                      ms < 1000 ? "met" : "not met");
        table.info(text);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    const QString result = QDir(dir.path()).filePath("Result");
    writeClass(result);
    registerAll(result);
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter);
    return 0;
}
