// SPDX-License-Identifier: MIT
// Attribute-list documents of about 1 KB, 100 KB and 10 MB (names, optional type and scope,
// 0 to 8 values of 3 to 40 characters, some with markup characters or non-ASCII text).
//
// Reading, on the same bytes: Attributes::unmarshal (text to attribute list) against a
// bare expat parse that only counts events (a new parser per document, and one reused),
// a hand-written expat decoder into plain structs, and pugixml parsing and walking its
// tree into plain structs. Writing, the same document: Attributes::marshal against
// a plain string appender and pugixml building its tree from plain structs and saving
// it. BM_StreamPeakMemory100MB reads a 100 MB file through the stream form;
// BM_ReadThreads decodes independent documents on one and two threads. BM_PeakMemory100MB reports
// the resident memory unmarshal adds on a 100 MB document against the heap the
// resulting list holds. The ratios against the peers are printed at the end.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <mox/attr/Attributes.h>
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/XBinderManager.h>

#include "DocumentBench.h"
#include "RatioReporter.h"

namespace {

namespace A = MOX::Attributes;

// One attribute as plain data, what the pugixml peers read into and write from.
struct PlainAttribute {
    std::string name;
    std::string type;
    bool hasType = false;
    std::string scope;
    bool hasScope = false;
    std::vector<std::string> values;
};

void appendEscaped(std::string& out, const std::string& text, bool attribute)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        default: out += c;
        }
    }
}

// A text of 3 to 40 characters; about one in eight holds markup characters, one in
// eight non-ASCII text.
std::string randomText(std::mt19937& random)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -_.:/";
    static const char* const markup[] = {"&", "<", ">", "\"", "a&b", "<x>"};
    static const char* const foreign[] = {"\xC3\xA9", "\xC3\xBC", "\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80",
                                          "\xD0\x96"};
    const int length = std::uniform_int_distribution<int>(3, 40)(random);
    const int flavour = std::uniform_int_distribution<int>(0, 7)(random);
    std::string text;
    while (static_cast<int>(text.size()) < length) {
        const int pick = std::uniform_int_distribution<int>(0, 15)(random);
        if (flavour == 0 && pick == 0)
            text += markup[random() % 6];
        else if (flavour == 1 && pick < 3)
            text += foreign[random() % 5];
        else
            text += letters[random() % (sizeof letters - 1)];
    }
    return text;
}

// A document of at least `bytes` bytes, generated from a fixed seed.
std::string makeDocument(std::size_t bytes)
{
    static const char* const types[] = {"String", "Integer", "Double", "Long", "Int64", "Float"};
    std::mt19937 random(20240611);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<attributes>";
    text.reserve(bytes + 4096);
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        text += "<attribute name=\"";
        // Names repeat (as in real lists) and stay ASCII.
        text += "attr" + std::to_string(i % 5000) + (i % 7 == 0 ? ".&amp;x" : ".x");
        text += '"';
        if (random() % 2 == 0) {
            text += " type=\"";
            text += types[random() % 6];
            text += '"';
        }
        if (random() % 4 == 0) {
            text += " scope=\"";
            appendEscaped(text, randomText(random), true);
            text += '"';
        }
        const int values = std::uniform_int_distribution<int>(0, 8)(random);
        if (values == 0) {
            text += "/>";
            continue;
        }
        text += '>';
        for (int v = 0; v < values; ++v) {
            text += "<value>";
            appendEscaped(text, randomText(random), false);
            text += "</value>";
        }
        text += "</attribute>";
    }
    text += "</attributes>";
    return text;
}

const std::string& document(std::size_t bytes) { return benchdoc::cachedDocument(bytes, makeDocument); }

std::size_t sizeOf(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)) * 1024u; }

// ---- reading --------------------------------------------------------------------------

void BM_ReadBareExpat(benchmark::State& state)
{
    const std::string& text = document(sizeOf(state));
    for (auto _ : state)
        if (!benchdoc::bareExpatParse(text))
            state.SkipWithError("expat failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Bare expat again, with one parser reset between documents instead of made for each.
void BM_ReadBareExpatReused(benchmark::State& state)
{
    const std::string& text = document(sizeOf(state));
    XML_Parser parser = XML_ParserCreate(nullptr);
    std::size_t events = 0;
    for (auto _ : state) {
        XML_ParserReset(parser, nullptr);
        XML_SetUserData(parser, &events);
        XML_SetElementHandler(
            parser, [](void* d, const XML_Char*, const XML_Char**) { ++*static_cast<std::size_t*>(d); },
            [](void* d, const XML_Char*) { ++*static_cast<std::size_t*>(d); });
        XML_SetCharacterDataHandler(parser, [](void* d, const XML_Char*, int) { ++*static_cast<std::size_t*>(d); });
        if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_OK)
            state.SkipWithError("expat failed");
    }
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(events);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// What a careful user writes by hand: expat into plain structs, no checks beyond expat's.
struct HandDecoder {
    std::vector<PlainAttribute> out;
    std::string* text = nullptr;

    static void start(void* d, const XML_Char* name, const XML_Char** atts)
    {
        auto& self = *static_cast<HandDecoder*>(d);
        if (std::strcmp(name, "attribute") == 0) {
            self.out.emplace_back();
            PlainAttribute& a = self.out.back();
            for (const XML_Char** p = atts; *p; p += 2) {
                if (std::strcmp(p[0], "name") == 0)
                    a.name = p[1];
                else if (std::strcmp(p[0], "type") == 0)
                    a.type = p[1], a.hasType = true;
                else if (std::strcmp(p[0], "scope") == 0)
                    a.scope = p[1], a.hasScope = true;
            }
        } else if (std::strcmp(name, "value") == 0 && !self.out.empty()) {
            self.out.back().values.emplace_back();
            self.text = &self.out.back().values.back();
        }
    }
    static void end(void* d, const XML_Char*) { static_cast<HandDecoder*>(d)->text = nullptr; }
    static void characters(void* d, const XML_Char* s, int n)
    {
        auto& self = *static_cast<HandDecoder*>(d);
        if (self.text)
            self.text->append(s, static_cast<std::size_t>(n));
    }
};

void BM_ReadHandWritten(benchmark::State& state)
{
    const std::string& text = document(sizeOf(state));
    for (auto _ : state) {
        HandDecoder decoder;
        if (!benchdoc::handWrittenParse(text, decoder))
            state.SkipWithError("expat failed");
        benchmark::DoNotOptimize(decoder.out.data());
        state.PauseTiming();
        std::vector<PlainAttribute>().swap(decoder.out);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ReadUnmarshal(benchmark::State& state)
{
    const std::string& text = document(sizeOf(state));
    std::size_t count = 0;
    for (auto _ : state) {
        A::AttributeList list = A::unmarshal(text);
        count = list.size();
        // Freeing the result is the caller's business, not reading.
        state.PauseTiming();
        A::AttributeList().swap(list);
        state.ResumeTiming();
    }
    state.counters["attributes"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// The codec alone: the document decoded into its document objects, no attributes made,
// which shows how much of unmarshal is the decoder and how much making attributes.
void BM_ReadCodecOnly(benchmark::State& state)
{
    static std::atomic<MOX::XB::XBinderManager*> slot{nullptr};
    MOX::XB::XBinderManager& manager = MOX::XB::XBinderManager::instance(slot);
    const std::string& text = document(sizeOf(state));
    for (auto _ : state) {
        MOX::XB::xbattributes list;
        MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
        MOX::XB::attributes_CC element(list);
        manager.decode(element, buffer);
        benchmark::DoNotOptimize(list.list.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

std::vector<PlainAttribute> walk(const pugi::xml_document& doc)
{
    std::vector<PlainAttribute> out;
    for (pugi::xml_node node : doc.child("attributes").children("attribute")) {
        PlainAttribute a;
        a.name = node.attribute("name").value();
        if (pugi::xml_attribute type = node.attribute("type")) {
            a.type = type.value();
            a.hasType = true;
        }
        if (pugi::xml_attribute scope = node.attribute("scope")) {
            a.scope = scope.value();
            a.hasScope = true;
        }
        for (pugi::xml_node value : node.children("value"))
            a.values.emplace_back(value.child_value());
        out.push_back(std::move(a));
    }
    return out;
}

void BM_ReadPugixml(benchmark::State& state)
{
    const std::string& text = document(sizeOf(state));
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8))
            state.SkipWithError("pugixml failed");
        std::vector<PlainAttribute> plain = walk(doc);
        benchmark::DoNotOptimize(plain.data());
        state.PauseTiming();
        std::vector<PlainAttribute>().swap(plain);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// ---- writing --------------------------------------------------------------------------

std::vector<PlainAttribute> plainOf(const A::AttributeList& list)
{
    std::vector<PlainAttribute> out;
    for (const auto& attribute : list) {
        PlainAttribute a;
        const auto name = attribute->getQualifiedName();
        a.name = name->getName();
        a.type = name->getFormat();
        a.hasType = !a.type.empty();
        a.scope = name->getScope();
        a.hasScope = !a.scope.empty();
        a.values = attribute->getValues();
        out.push_back(std::move(a));
    }
    return out;
}

void BM_WriteMarshal(benchmark::State& state)
{
    const A::AttributeList list = A::unmarshal(document(sizeOf(state)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = A::marshal(list);
        bytes = text.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// A plain string appender writing the same document from plain structs.
void BM_WriteAppender(benchmark::State& state)
{
    const std::vector<PlainAttribute> plain = plainOf(A::unmarshal(document(sizeOf(state))));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<attributes>";
        for (const PlainAttribute& a : plain) {
            text += "<attribute name=\"";
            appendEscaped(text, a.name, true);
            text += '"';
            if (a.hasType) {
                text += " type=\"";
                appendEscaped(text, a.type, true);
                text += '"';
            }
            if (a.hasScope) {
                text += " scope=\"";
                appendEscaped(text, a.scope, true);
                text += '"';
            }
            if (a.values.empty()) {
                text += "/>";
                continue;
            }
            text += '>';
            for (const std::string& value : a.values) {
                text += "<value>";
                appendEscaped(text, value, false);
                text += "</value>";
            }
            text += "</attribute>";
        }
        text += "</attributes>";
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

void BM_WritePugixml(benchmark::State& state)
{
    const std::vector<PlainAttribute> plain = plainOf(A::unmarshal(document(sizeOf(state))));
    std::size_t bytes = 0;
    for (auto _ : state) {
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("attributes");
        for (const PlainAttribute& a : plain) {
            pugi::xml_node node = root.append_child("attribute");
            node.append_attribute("name").set_value(a.name.c_str());
            if (a.hasType)
                node.append_attribute("type").set_value(a.type.c_str());
            if (a.hasScope)
                node.append_attribute("scope").set_value(a.scope.c_str());
            for (const std::string& value : a.values)
                node.append_child("value").append_child(pugi::node_pcdata).set_value(value.c_str());
        }
        StringWriter writer;
        doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
        bytes = writer.text.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// ---- memory ---------------------------------------------------------------------------

void BM_PeakMemory100MB(benchmark::State& state)
{
    benchdoc::measurePeakMemory(
        state, [] { return makeDocument(100u * 1024u * 1024u); }, [](const std::string& text) { return A::unmarshal(text); });
}

// Stream-decoding a 100 MB document from a file: the resident memory the read adds at its
// peak against the document's size (the input is never held in memory).
void BM_StreamPeakMemory100MB(benchmark::State& state)
{
    const char* path = "/tmp/mox-bench-attributes-100MB.xml";
    { std::ofstream(path) << makeDocument(100u * 1024u * 1024u); }
    malloc_trim(0);
    for (auto _ : state) {
        { std::ofstream("/proc/self/clear_refs") << "5"; }
        const long baseKiB = benchdoc::statusKiB("VmRSS");
        std::ifstream in(path, std::ios::binary);
        const A::AttributeList list = A::unmarshal(in);
        const double peakMB = static_cast<double>(benchdoc::statusKiB("VmHWM") - baseKiB) / 1024.0;
        state.counters["items"] = static_cast<double>(list.size());
        state.counters["peak_extra_MB"] = peakMB;
        state.counters["peak_over_doc"] = peakMB / 100.0;
    }
    std::remove(path);
}

// Independent documents decoded on one and on two threads: compare items_per_second.
void BM_ReadThreads(benchmark::State& state)
{
    const std::string& text = document(100 * 1024);
    for (auto _ : state)
        benchmark::DoNotOptimize(A::unmarshal(text).size());
    state.SetItemsProcessed(state.iterations());
}

constexpr int kTinyKiB = 1;
constexpr int kSmallKiB = 100;
constexpr int kLargeKiB = 10 * 1024;

#define MOX_SIZES(b) BENCHMARK(b)->Arg(kTinyKiB)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond)
MOX_SIZES(BM_ReadBareExpat);
MOX_SIZES(BM_ReadBareExpatReused);
MOX_SIZES(BM_ReadHandWritten);
MOX_SIZES(BM_ReadUnmarshal);
MOX_SIZES(BM_ReadCodecOnly);
MOX_SIZES(BM_ReadPugixml);
MOX_SIZES(BM_WriteMarshal);
MOX_SIZES(BM_WriteAppender);
MOX_SIZES(BM_WritePugixml);
BENCHMARK(BM_ReadThreads)->Threads(1)->Threads(2)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakMemory100MB)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamPeakMemory100MB)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, benchratio::forEachArgument({{"BM_ReadUnmarshal", "BM_ReadBareExpat"},
                                                                        {"BM_ReadUnmarshal", "BM_ReadBareExpatReused"},
                                                                        {"BM_ReadUnmarshal", "BM_ReadHandWritten"},
                                                                        {"BM_ReadCodecOnly", "BM_ReadBareExpat"},
                                                                        {"BM_ReadUnmarshal", "BM_ReadPugixml"},
                                                                        {"BM_WriteMarshal", "BM_WriteAppender"},
                                                                        {"BM_WriteMarshal", "BM_WritePugixml"}},
                                                                       {std::to_string(kTinyKiB), std::to_string(kSmallKiB),
                                                                        std::to_string(kLargeKiB)}));
}
