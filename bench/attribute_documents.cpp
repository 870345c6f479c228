// Attribute-list documents of about 100 KB and 10 MB (names, optional type and scope,
// 0 to 8 values of 3 to 40 characters, some with markup characters or non-ASCII text).
//
// Reading, on the same bytes: Attributes::unmarshal (text to attribute list) against a
// bare expat parse that only counts events, and against pugixml parsing and walking its
// tree into plain structs. Writing, the same document: Attributes::marshal against
// pugixml building its tree from plain structs and saving it. BM_PeakMemory100MB reports
// the resident memory unmarshal adds on a 100 MB document against the heap the
// resulting list holds. The ratios against the peers are printed at the end.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <mox/attr/Attributes.h>
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/XBinderManager.h>

#include "DocumentBench.h"
#include "RatioReporter.h"
#include "services/serialization/XBinder/AttributeStreaming.h"

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

// The codec alone: the document decoded item by item into a sink that only counts,
// which shows how much of unmarshal is the decoder and how much making attributes.
void BM_ReadCodecOnly(benchmark::State& state)
{
    static std::atomic<MOX::XB::XBinderManager*> slot{nullptr};
    MOX::XB::XBinderManager& manager = MOX::XB::XBinderManager::instance(slot);
    const std::string& text = document(sizeOf(state));
    for (auto _ : state) {
        std::size_t values = 0;
        MOX::XB::xbattributes_stream reader(
            [](void* context, MOX::XB::xbattribute& item) noexcept {
                *static_cast<std::size_t*>(context) += item.value_list.size();
            },
            &values);
        MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
        MOX::XB::attributes_CC element(reader);
        manager.decode(element, buffer);
        reader.finish();
        benchmark::DoNotOptimize(values);
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

constexpr int kSmallKiB = 100;
constexpr int kLargeKiB = 10 * 1024;

BENCHMARK(BM_ReadBareExpat)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadUnmarshal)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadCodecOnly)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPugixml)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteMarshal)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WritePugixml)->Arg(kSmallKiB)->Arg(kLargeKiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakMemory100MB)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, benchratio::forEachArgument({{"BM_ReadUnmarshal", "BM_ReadBareExpat"},
                                                                        {"BM_ReadCodecOnly", "BM_ReadBareExpat"},
                                                                        {"BM_ReadUnmarshal", "BM_ReadPugixml"},
                                                                        {"BM_WriteMarshal", "BM_WritePugixml"}},
                                                                       {std::to_string(kSmallKiB), std::to_string(kLargeKiB)}));
}
