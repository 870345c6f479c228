// SPDX-License-Identifier: MIT
// Identities document throughput against a bare expat parse of the same bytes (the
// floor of any expat-based decoder), and peak memory of parseIdentities.
//
// Ratios printed at the end, from CPU time (the machines that run this are shared):
// parseIdentities / bare expat (whole decode including the
// identities and the set), codec decode into document objects / bare expat, and
// marshalIdentities / bare expat.
#include <benchmark/benchmark.h>


#include <cstdio>
#include <string>
#include <vector>

#include <mox/authn.h>
#include <mox/authn/IdentityDocuments.h>
#include <mox/xb/XBinderManager.h>
#include <mox/xb/IdentitySchema.h>

#include "DocumentBench.h"
#include "RatioReporter.h"

namespace {

// A document of `items` items cycling through the three item kinds.
std::string makeDocument(std::size_t items)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<identities>";
    text.reserve(items * 80 + 64);
    char line[160];
    for (std::size_t i = 0; i < items; ++i) {
        switch (i % 3) {
        case 0:
            std::snprintf(line, sizeof line, "<UserIdentifier format=\"QEL\">NT:CORP/User:user%zu</UserIdentifier>", i);
            break;
        case 1:
            std::snprintf(line, sizeof line, "<GroupIdentifier format=\"EMAIL\">group%zu@example.org</GroupIdentifier>",
                          i);
            break;
        default:
            std::snprintf(line, sizeof line,
                          "<identity format=\"QEL\" authority=\"NT:CORP\" account=\"lp%zu\" type=\"Printers\"/>", i);
            break;
        }
        text += line;
    }
    text += "</identities>";
    return text;
}

const std::string& document(std::size_t items) { return benchdoc::cachedDocument(items, makeDocument); }

void setCounters(benchmark::State& state, std::size_t bytes, std::size_t items)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    // Rate inverted: seconds per (item * 1e-9), that is nanoseconds per item.
    state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(items) * 1e-9,
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

void BM_BareExpat(benchmark::State& state)
{
    const auto items = static_cast<std::size_t>(state.range(0));
    const std::string& text = document(items);
    for (auto _ : state)
        if (!benchdoc::bareExpatParse(text))
            state.SkipWithError("expat failed");
    setCounters(state, text.size(), items);
}

void BM_CodecDecode(benchmark::State& state)
{
    static std::atomic<MOX::XB::XBinderManager*> slot{nullptr};
    const auto items = static_cast<std::size_t>(state.range(0));
    const std::string& text = document(items);
    MOX::XB::XBinderManager& manager = MOX::XB::XBinderManager::instance(slot);
    for (auto _ : state) {
        MOX::XB::xbidentities list;
        MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
        MOX::XB::identities_CC element(list);
        manager.decode(element, buffer);
        if (list.list.size() != items)
            state.SkipWithError("wrong item count");
    }
    setCounters(state, text.size(), items);
}

void BM_ParseIdentities(benchmark::State& state)
{
    const auto items = static_cast<std::size_t>(state.range(0));
    const std::string& text = document(items);
    for (auto _ : state) {
        auto identities = MOX::parseIdentities(text);
        if (identities.size() != items)
            state.SkipWithError("wrong identity count");
    }
    setCounters(state, text.size(), items);
}

void BM_MarshalIdentities(benchmark::State& state)
{
    const auto items = static_cast<std::size_t>(state.range(0));
    const auto identities = MOX::parseIdentities(document(items));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = MOX::marshalIdentities(identities);
        bytes = text.size();
    }
    setCounters(state, bytes, items);
}

// A plain string appender writing a document of the same items from plain structs.
void BM_WriteAppender(benchmark::State& state)
{
    struct Item {
        const char* element;
        std::string format, text;
    };
    const auto items = static_cast<std::size_t>(state.range(0));
    std::vector<Item> plain;
    for (std::size_t i = 0; i < items; ++i)
        plain.push_back(i % 2 ? Item{"GroupIdentifier", "EMAIL", "group" + std::to_string(i) + "@example.org"}
                              : Item{"UserIdentifier", "QEL", "NT:CORP/User:user" + std::to_string(i)});
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<identities>";
        for (const Item& item : plain) {
            text += '<';
            text += item.element;
            text += " format=\"";
            text += item.format;
            text += "\">";
            for (char c : item.text) {
                if (c == '&')
                    text += "&amp;";
                else if (c == '<')
                    text += "&lt;";
                else
                    text += c;
            }
            text += "</";
            text += item.element;
            text += '>';
        }
        text += "</identities>";
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    setCounters(state, bytes, items);
}

// Peak resident memory added by parseIdentities over a 50 MB document (input already
// resident), against the heap that the resulting set holds once the call returned.
void BM_PeakMemory50MB(benchmark::State& state)
{
    benchdoc::measurePeakMemory(
        state, [] { return makeDocument(50u * 1024u * 1024u / 75u); },
        [](const std::string& text) { return MOX::parseIdentities(text); });
}

BENCHMARK(BM_BareExpat)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CodecDecode)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseIdentities)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarshalIdentities)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteAppender)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakMemory50MB)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, benchratio::forEachArgument({{"BM_ParseIdentities", "BM_BareExpat"},
                                                                        {"BM_CodecDecode", "BM_BareExpat"},
                                                                        {"BM_MarshalIdentities", "BM_BareExpat"},
                                                                        {"BM_MarshalIdentities", "BM_WriteAppender"}},
                                                                       {"1000", "100000"}));
}
