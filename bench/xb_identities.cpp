// SPDX-License-Identifier: MIT
// Identities document throughput against a bare expat parse of the same bytes (the
// floor of any expat-based decoder), and peak memory of parseIdentities.
//
// Ratios printed at the end, from CPU time (the machines that run this are shared):
// parseIdentities / bare expat (whole decode including the identities and the set),
// parseIdentities / a hand-written expat decoder into a std::set of texts, codec decode
// into document objects / bare expat, marshalIdentities / bare expat and
// marshalIdentities / a string appender writing from an ordered map of plain structs.
#include <benchmark/benchmark.h>


#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <mox/authn.h>
#include <mox/authn/IdentityDocuments.h>
#include <mox/xb/XBinderManager.h>
#include <mox/xb/IdentitySchema.h>

#include "DocumentBench.h"
#include "RatioReporter.h"

namespace {

// One item of a document: a user or group identifier (QEL or EMAIL) or an identity by
// its parts, the mix of the platform's identity documents.
struct PlainItem {
    const char* element; // "UserIdentifier", "GroupIdentifier" or "identity"
    std::string format, text;                   // identifiers
    std::string authorityFormat, authority, account, type; // parts
};

PlainItem makeItem(std::size_t i)
{
    const std::string n = std::to_string(i);
    switch (i % 6) {
    case 0:
    case 1: return {"UserIdentifier", "QEL", "NT:CORP/user" + n, {}, {}, {}, {}};
    case 2: return {"GroupIdentifier", "QEL", "NT:CORP/Group:group" + n, {}, {}, {}, {}};
    case 3: return {"UserIdentifier", "EMAIL", "user" + n + "@example.org", {}, {}, {}, {}};
    case 4: return {"GroupIdentifier", "EMAIL", "staff" + n + "@example.org", {}, {}, {}, {}};
    default: return {"identity", {}, {}, "NT", "CORP", "lp" + n, "Printers"};
    }
}

// Item number `i` of a document: about 3% repeat an earlier item.
std::size_t itemNumber(std::size_t i) { return i % 33 == 32 ? i / 2 : i; }

// How many different identities a document of `items` items holds.
std::size_t distinctItems(std::size_t items)
{
    std::set<std::size_t> numbers;
    for (std::size_t i = 0; i < items; ++i)
        numbers.insert(itemNumber(i));
    return numbers.size();
}

void appendEscaped(std::string& out, const std::string& text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

// Appends one item element, as a plain string appender writes it.
void appendItem(std::string& out, const PlainItem& item)
{
    out += '<';
    out += item.element;
    if (item.format.empty()) {
        out += " format=\"";
        appendEscaped(out, item.authorityFormat);
        out += "\" authority=\"";
        appendEscaped(out, item.authority);
        out += "\" account=\"";
        appendEscaped(out, item.account);
        out += "\" type=\"";
        appendEscaped(out, item.type);
        out += "\"/>";
        return;
    }
    out += " format=\"";
    appendEscaped(out, item.format);
    out += "\">";
    appendEscaped(out, item.text);
    out += "</";
    out += item.element;
    out += '>';
}

std::string makeDocument(std::size_t items)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<identities>";
    text.reserve(items * 70 + 64);
    for (std::size_t i = 0; i < items; ++i)
        appendItem(text, makeItem(itemNumber(i)));
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
    const std::size_t distinct = distinctItems(items);
    for (auto _ : state) {
        auto identities = MOX::parseIdentities(text);
        if (identities.size() != distinct)
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

// The peer of parseIdentities: a hand-written expat decoder into a std::set of each
// identity's canonical text (type, format and text; parts joined as a QEL text).
void BM_SetDecoder(benchmark::State& state)
{
    struct Decoder {
        std::set<std::string> identities;
        std::string current, text;
        bool inIdentifier = false;

        static const char* attribute(const char** attributes, const char* name)
        {
            for (; *attributes != nullptr; attributes += 2)
                if (std::strcmp(attributes[0], name) == 0)
                    return attributes[1];
            return "";
        }
        static void start(void* self, const char* name, const char** attributes)
        {
            auto& d = *static_cast<Decoder*>(self);
            if (std::strcmp(name, "identity") == 0) {
                d.current.assign(attribute(attributes, "type")).append("|QEL|").append(attribute(attributes, "format"));
                d.current.append(":").append(attribute(attributes, "authority")).append("/");
                d.current.append(attribute(attributes, "account"));
                d.identities.insert(d.current);
            } else if (std::strcmp(name, "identities") != 0) {
                d.inIdentifier = true;
                d.current.assign(name[0] == 'G' ? "Group|" : "User|").append(attribute(attributes, "format")).append("|");
                d.text.clear();
            }
        }
        static void end(void* self, const char*)
        {
            auto& d = *static_cast<Decoder*>(self);
            if (d.inIdentifier) {
                d.identities.insert(d.current + d.text);
                d.inIdentifier = false;
            }
        }
        static void characters(void* self, const char* text, int length)
        {
            auto& d = *static_cast<Decoder*>(self);
            if (d.inIdentifier)
                d.text.append(text, static_cast<std::size_t>(length));
        }
    };
    const auto items = static_cast<std::size_t>(state.range(0));
    const std::string& text = document(items);
    for (auto _ : state) {
        Decoder decoder;
        if (!benchdoc::handWrittenParse(text, decoder))
            state.SkipWithError("expat failed");
        benchmark::DoNotOptimize(decoder.identities.size());
    }
    setCounters(state, text.size(), items);
}

// The peer of marshalIdentities: a plain string appender writing the same items from an
// ordered map of plain structs.
void BM_WriteAppender(benchmark::State& state)
{
    const auto items = static_cast<std::size_t>(state.range(0));
    std::map<std::string, PlainItem> plain;
    for (std::size_t i = 0; i < items; ++i) {
        PlainItem item = makeItem(itemNumber(i));
        plain.emplace(item.format.empty() ? item.account : item.text, std::move(item));
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<identities>";
        text.reserve(64 + 80 * plain.size());
        for (const auto& entry : plain)
            appendItem(text, entry.second);
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
BENCHMARK(BM_SetDecoder)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarshalIdentities)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteAppender)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakMemory50MB)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, benchratio::forEachArgument({{"BM_ParseIdentities", "BM_BareExpat"},
                                                                        {"BM_ParseIdentities", "BM_SetDecoder"},
                                                                        {"BM_CodecDecode", "BM_BareExpat"},
                                                                        {"BM_MarshalIdentities", "BM_BareExpat"},
                                                                        {"BM_MarshalIdentities", "BM_WriteAppender"}},
                                                                       {"1000", "100000"}));
}
