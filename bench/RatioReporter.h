// SPDX-License-Identifier: MIT
#pragma once
// The reporter every benchmark here runs with: Google Benchmark's console table, then the
// time of each of our functions over its peer's, both taken from the same run because
// these machines are shared and noisy. A run's time is its time per iteration, or with
// --benchmark_repetitions the median of the repetitions; CPU time, except for the
// benchmarks registered with UseRealTime (the threaded ones), which keep real time.
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace benchratio {

/// One printed ratio: the full run names (with their arguments) of ours and the peer.
struct RatioPair {
    std::string ours;
    std::string peer;
};

/// `pairs` once for each argument suffix: {"BM_A", "BM_B"} with {"100"} gives
/// {"BM_A/100", "BM_B/100"}.
inline std::vector<RatioPair> forEachArgument(std::initializer_list<RatioPair> pairs,
                                              std::initializer_list<std::string> arguments)
{
    std::vector<RatioPair> all;
    for (const std::string& argument : arguments)
        for (const RatioPair& pair : pairs)
            all.push_back({pair.ours + "/" + argument, pair.peer + "/" + argument});
    return all;
}

/// Console reporter that remembers each run's time and prints the ratios afterwards.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<RatioPair> pairs) : m_pairs(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        // Iteration runs come before their aggregates, so a median overwrites them.
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            const bool realTime = !run.run_name.time_type.empty();
            m_times[run.run_name.str()] = realTime ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    /// Prints "ratio OURS vs PEER: R.RRx" for each pair whose two runs were measured.
    void printRatios() const
    {
        for (const RatioPair& pair : m_pairs) {
            const auto ours = m_times.find(pair.ours);
            const auto peer = m_times.find(pair.peer);
            if (ours != m_times.end() && peer != m_times.end() && peer->second > 0)
                std::printf("ratio %s vs %s: %.2fx\n", pair.ours.c_str(), pair.peer.c_str(),
                            ours->second / peer->second);
        }
    }

private:
    std::vector<RatioPair> m_pairs;
    std::map<std::string, double> m_times;
};

/// The body of a benchmark program's main: runs the selected benchmarks with a
/// RatioReporter over `pairs`.
inline int runWithRatios(int argc, char** argv, std::vector<RatioPair> pairs)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchratio
