// SPDX-License-Identifier: MIT
// The handle table of the flat binding against a plain std::map behind a std::mutex
// doing the same work per operation: register an object under a new number, look it up,
// close it. Single-threaded and with two threads on one table.
//
// Printed at the end: HandleManager time per operation / std::map + std::mutex time per
// operation, for each thread count.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include <mox/handle/HandleManager.h>

#include "RatioReporter.h"

namespace {

using MOX::RT::SmartPointer;

class Payload : public MOX::Object {
public:
    std::string toString() const override { return "payload"; }
};

// The peer: the same record (class name and a counted reference) in an ordered map.
class MapTable {
public:
    int open(const std::string& classname, const SmartPointer<MOX::Object>& object)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        const int id = ++m_last;
        m_records.emplace(id, Record{classname, object});
        return id;
    }
    SmartPointer<MOX::Object> get(int id)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        const auto it = m_records.find(id);
        return it == m_records.end() ? SmartPointer<MOX::Object>() : it->second.object;
    }
    bool close(int id)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_records.erase(id) == 1;
    }

private:
    struct Record {
        std::string classname;
        SmartPointer<MOX::Object> object;
    };
    std::mutex m_mutex;
    std::map<int, Record> m_records;
    int m_last = 0;
};

MapTable g_peer;

void BM_HandleManager(benchmark::State& state)
{
    const SmartPointer<MOX::Object> object(new Payload());
    const std::string classname = "MOX::APP::IProductId";
    for (auto _ : state) {
        MOX::HandleId id = MOX::HDL::HandleManager::newObjectHandle(classname, object);
        benchmark::DoNotOptimize(MOX::HDL::HandleManager::getObject(id.getId()));
        benchmark::DoNotOptimize(MOX::HDL::HandleManager::closeHandle(id));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_MapMutex(benchmark::State& state)
{
    const SmartPointer<MOX::Object> object(new Payload());
    const std::string classname = "MOX::APP::IProductId";
    for (auto _ : state) {
        const int id = g_peer.open(classname, object);
        benchmark::DoNotOptimize(g_peer.get(id));
        benchmark::DoNotOptimize(g_peer.close(id));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_HandleManager)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_MapMutex)->Threads(1)->Threads(2)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, benchratio::forEachArgument({{"BM_HandleManager", "BM_MapMutex"}},
                                                                       {"real_time/threads:1", "real_time/threads:2"}));
}
