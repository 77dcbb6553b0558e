#pragma once

// The ratio lines that scripts/bench.sh gathers into one table (the convention is written at
// the top of bench/CMakeLists.txt): a reporter that keeps the median time of every benchmark
// over its repetitions, and a table that prints ours / peer from those medians.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace queldo::bench {

/// The usual console output, and the median CPU time of every benchmark, in seconds. CPU time
/// is steadier than wall-clock time on a shared machine; a benchmark that asks for wall-clock
/// time (UseRealTime(), for work that waits on the disk, or UseManualTime(), for a span it
/// times itself) is kept in wall-clock time.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    MedianReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const bool wallClock =
                run.run_name.time_type == "real_time" || run.run_name.time_type == "manual_time";
            const double time = wallClock ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            const double s = time / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string &name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration)
                m_times[name].push_back(s);
            else if (run.aggregate_name == "median")
                m_reportedMedian[name] = s; // the repetitions themselves were not reported
        }
    }

    /// Median over the repetitions; NaN for a benchmark that did not run.
    double seconds(const std::string &name) const
    {
        if (const auto it = m_times.find(name); it != m_times.end() && !it->second.empty()) {
            std::vector<double> v = it->second;
            std::sort(v.begin(), v.end());
            const std::size_t n = v.size();
            return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
        }
        const auto it = m_reportedMedian.find(name);
        return it == m_reportedMedian.end() ? NAN : it->second;
    }

    /// Repetitions behind the medians (the fewest of any benchmark).
    int repetitions() const
    {
        std::size_t fewest = 0;
        for (const auto &[name, times] : m_times)
            fewest = fewest == 0 ? times.size() : std::min(fewest, times.size());
        return int(fewest);
    }

private:
    std::map<std::string, std::vector<double>> m_times;
    std::map<std::string, double> m_reportedMedian;
};

/// Limits a ratio must keep; NaN where there is none.
struct Goal
{
    double geomean = NAN;
    double worst = NAN;
};

/// Prints "ratio" lines of ours / peer from the medians of a reporter.
class RatioTable
{
public:
    explicit RatioTable(const MedianReporter &times) : m_times(times) {}

    /// Over cases: the benchmarks case + "/" + ours against case + "/" + peer. Cases that did not
    /// run on both sides (a filter) are left out; with none left the line is not printed.
    void group(const std::string &routine, const std::string &data,
               const std::vector<std::string> &cases, const std::string &ours,
               const std::string &peer, Goal goal = {})
    {
        double logSum = 0;
        double worst = 0;
        std::string worstCase;
        int count = 0;
        for (const std::string &c : cases) {
            const double r = m_times.seconds(c + "/" + ours) / m_times.seconds(c + "/" + peer);
            if (std::isnan(r))
                continue;
            logSum += std::log(r);
            ++count;
            if (r > worst) {
                worst = r;
                worstCase = c;
            }
        }
        if (count == 0)
            return;
        const double geomean = std::exp(logSum / count);
        const bool hasGoal = !std::isnan(goal.geomean) || !std::isnan(goal.worst);
        const bool met = !(geomean > goal.geomean) && !(worst > goal.worst);
        if (hasGoal && !met)
            m_missed = true;
        std::printf("ratio\t%s\t%s\t%s / %s\t%.3f\t%.3f\t%s\t%d\t%s\t%s\n", routine.c_str(),
                    data.c_str(), ours.c_str(), peer.c_str(), geomean, worst,
                    count > 1 ? worstCase.c_str() : "-", count, goalText(goal).c_str(),
                    !hasGoal ? "-"
                    : met    ? "met"
                             : "MISSED");
    }

    /// One case: the benchmark prefix + "/" + ours against prefix + "/" + peer.
    void pair(const std::string &routine, const std::string &data, const std::string &prefix,
              const std::string &ours, const std::string &peer, Goal goal = {})
    {
        group(routine, data, {prefix}, ours, peer, goal);
    }

    /// ours against peer, each named in full: a ratio across cases ("0/analysis" against
    /// "10000/readResults").
    void named(const std::string &routine, const std::string &data, const std::string &ours,
               const std::string &peer, Goal goal = {})
    {
        line(routine, data, ours + " / " + peer, m_times.seconds(ours) / m_times.seconds(peer),
             goal);
    }

    /// The part of ours that grows with the data: (prefix/ours - base/ours) / prefix/peer. Never
    /// held to a goal: it is what the goals' ratios would be without the fixed cost.
    void share(const std::string &routine, const std::string &data, const std::string &prefix,
               const std::string &base, const std::string &ours, const std::string &peer)
    {
        const double grown =
            m_times.seconds(prefix + "/" + ours) - m_times.seconds(base + "/" + ours);
        line(routine, data, "(" + ours + " - " + base + "/" + ours + ") / " + peer,
             grown / m_times.seconds(prefix + "/" + peer), {});
    }

    /// A line copied under the table.
    static void info(const std::string &text) { std::printf("info\t%s\n", text.c_str()); }

    bool anyMissed() const { return m_missed; }

private:
    void line(const std::string &routine, const std::string &data, const std::string &what,
              double r, Goal goal)
    {
        if (std::isnan(r))
            return;
        const bool hasGoal = !std::isnan(goal.geomean) || !std::isnan(goal.worst);
        const bool met = !(r > goal.geomean) && !(r > goal.worst);
        if (hasGoal && !met)
            m_missed = true;
        std::printf("ratio\t%s\t%s\t%s\t%.3f\t%.3f\t-\t1\t%s\t%s\n", routine.c_str(), data.c_str(),
                    what.c_str(), r, r, goalText(goal).c_str(),
                    !hasGoal ? "-"
                    : met    ? "met"
                             : "MISSED");
    }

    static std::string goalText(Goal goal)
    {
        char text[64] = "-";
        if (!std::isnan(goal.geomean) && !std::isnan(goal.worst))
            std::snprintf(text, sizeof text, "geomean <= %.3g, each <= %.3g", goal.geomean,
                          goal.worst);
        else if (!std::isnan(goal.geomean))
            std::snprintf(text, sizeof text, "<= %.3g", goal.geomean);
        else if (!std::isnan(goal.worst))
            std::snprintf(text, sizeof text, "each <= %.3g", goal.worst);
        return text;
    }

    const MedianReporter &m_times;
    bool m_missed = false;
};

} // namespace queldo::bench
