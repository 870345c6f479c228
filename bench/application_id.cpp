// SPDX-License-Identifier: MIT
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

#include "RatioReporter.h"

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

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, benchratio::forEachArgument({{"BM_CreateRegisteredApplicationId", "BM_StdSetFind"}}, {"100", "10000"}));
}
