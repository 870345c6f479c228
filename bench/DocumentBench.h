// SPDX-License-Identifier: MIT
#pragma once
// What the document benchmarks share: generated documents kept for the whole run, the
// bare expat parse that is the floor of any expat-based reader, and the peak-memory
// measurement of one streaming read.
#include <cstddef>
#include <fstream>
#include <map>
#include <string>

#include <benchmark/benchmark.h>
#include <expat.h>
#include <malloc.h>

namespace benchdoc {

/// The document `make(size)` generates, made once per size for the whole run.
template <class Make>
const std::string& cachedDocument(std::size_t size, Make make)
{
    static std::map<std::size_t, std::string> cache;
    auto it = cache.find(size);
    if (it == cache.end())
        it = cache.emplace(size, make(size)).first;
    return it->second;
}

/// Parses `text` with expat into a hand-written `decoder`, whose static `start`, `end`
/// and `characters` handle the events; false when expat rejects the text.
template <class Decoder>
bool handWrittenParse(const std::string& text, Decoder& decoder)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &decoder);
    XML_SetElementHandler(parser, &Decoder::start, &Decoder::end);
    XML_SetCharacterDataHandler(parser, &Decoder::characters);
    const bool parsed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return parsed;
}

/// Parses `text` with expat and handlers that only count events; false when expat
/// rejects it.
inline bool bareExpatParse(const std::string& text)
{
    struct Counts {
        std::size_t starts = 0, ends = 0, characters = 0;
    } counts;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &counts);
    XML_SetElementHandler(
        parser, [](void* data, const XML_Char*, const XML_Char**) { ++static_cast<Counts*>(data)->starts; },
        [](void* data, const XML_Char*) { ++static_cast<Counts*>(data)->ends; });
    XML_SetCharacterDataHandler(parser,
                                [](void* data, const XML_Char*, int) { ++static_cast<Counts*>(data)->characters; });
    const bool parsed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(counts);
    return parsed;
}

/// A "Key:   N kB" line of /proc/self/status, in KiB; -1 when missing.
inline long statusKiB(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stol(line.substr(prefix.size()));
    return -1;
}

/// Heap bytes in use (small blocks and mapped ones).
inline std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

/// Times `read(text)` on the document `make()` returns, and reports the resident memory
/// the read added at its peak (input already resident) against the heap its result
/// holds once it returned: counters doc_MB, items, result_MB, peak_extra_MB and
/// peak_over_result.
template <class Make, class Read>
void measurePeakMemory(benchmark::State& state, Make make, Read read)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::string text = make();
        malloc_trim(0);
        { std::ofstream("/proc/self/clear_refs") << "5"; } // resets the high-water mark
        const long baseKiB = statusKiB("VmRSS");
        const std::size_t heapBefore = heapInUse();
        state.ResumeTiming();
        const auto result = read(text);
        state.PauseTiming();
        const double resultMB = static_cast<double>(heapInUse() - heapBefore) / (1024.0 * 1024.0);
        const double peakMB = static_cast<double>(statusKiB("VmHWM") - baseKiB) / 1024.0;
        state.counters["doc_MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
        state.counters["items"] = static_cast<double>(result.size());
        state.counters["result_MB"] = resultMB;
        state.counters["peak_extra_MB"] = peakMB;
        state.counters["peak_over_result"] = peakMB / resultMB;
        state.ResumeTiming();
    }
}

} // namespace benchdoc
