// The hot path of joining: createApplicationId of an id that is already registered
// (build the candidate, look it up under the registry mutex, hand out the registered
// instance, drop the candidate), against a plain std::set<std::string>::find of the
// same keys (product name, component, version and application name in one string).
//
// Printed at the end: createApplicationId time per call / std::set find time per call,
// for each registry size (with --benchmark_repetitions, of the medians).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <mox/app.h>

namespace {

using MOX::RT::SmartPointer;

struct Keys {
    std::vector<SmartPointer<MOX::APP::IProductId>> products;
    std::vector<std::string> names;
    std::vector<std::string> joined;
};

// `n` distinct ids over ten products, registered once; their keys for the peer.
const Keys& keys(std::size_t n)
{
    static std::map<std::size_t, Keys> cache;
    Keys& k = cache[n];
    if (k.names.empty()) {
        for (std::size_t i = 0; i < n; ++i) {
            const std::string product = "Product" + std::to_string(i % 10);
            k.products.push_back(MOX::createProductId(product, "core", "2.1"));
            k.names.push_back("application-" + std::to_string(i));
            k.joined.push_back(product + '\0' + "core" + '\0' + "2.1" + '\0' + k.names.back());
            MOX::createApplicationId(k.products.back(), k.names.back());
        }
    }
    return k;
}

void BM_CreateRegisteredApplicationId(benchmark::State& state)
{
    const Keys& k = keys(static_cast<std::size_t>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MOX::createApplicationId(k.products[i], k.names[i]));
        i = i + 1 == k.names.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_StdSetFind(benchmark::State& state)
{
    const Keys& k = keys(static_cast<std::size_t>(state.range(0)));
    const std::set<std::string> set(k.joined.begin(), k.joined.end());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(set.find(k.joined[i]));
        i = i + 1 == k.joined.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_CreateRegisteredApplicationId)->Arg(100)->Arg(10000);
BENCHMARK(BM_StdSetFind)->Arg(100)->Arg(10000);

// Keeps each run's time per call to print the ratios against the peer.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // One run per benchmark, or with --benchmark_repetitions the median of them.
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_times[run.run_name.str()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        for (const char* size : {"100", "10000"}) {
            const auto ours = m_times.find(std::string("BM_CreateRegisteredApplicationId/") + size);
            const auto peer = m_times.find(std::string("BM_StdSetFind/") + size);
            if (ours == m_times.end() || peer == m_times.end() || peer->second <= 0)
                continue;
            std::printf("ratio createApplicationId / std::set find, %s ids: %.2f\n", size, ours->second / peer->second);
        }
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
