// SPDX-License-Identifier: MIT
// Attributes documents of 16 MiB whose bulk is one token: an attribute value, a comment
// or an element text, read with Attributes::unmarshal from a string (argument 0) and from
// a stream (argument 1). The peer is the same number of bytes as ordinary content (short
// comments), read the same way: decoding time must grow with the size of the input, not
// with the square of a token's length, so each ratio should stay near 1.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include <mox/attr/Attributes.h>

#include "RatioReporter.h"

namespace {

namespace A = MOX::Attributes;

// The bulk of each document: under the 16 MiB value limit by the markup around it.
constexpr std::size_t kBulk = 16u * 1024u * 1024u - 4096u;

const std::string& valueDocument()
{
    static const std::string text = "<attributes><attribute name=\"a\" scope=\"" + std::string(kBulk, 'v') + "\"/></attributes>";
    return text;
}

const std::string& commentDocument()
{
    static const std::string text = "<attributes><!--" + std::string(kBulk, 'c') + "--></attributes>";
    return text;
}

const std::string& textDocument()
{
    static const std::string text =
        "<attributes><attribute name=\"a\"><value>" + std::string(kBulk, 't') + "</value></attribute></attributes>";
    return text;
}

const std::string& ordinaryDocument()
{
    static const std::string text = [] {
        const std::string comment = "<!--" + std::string(56, 'c') + "-->";
        std::string body = "<attributes>";
        while (body.size() < kBulk)
            body += comment;
        return body + "</attributes>";
    }();
    return text;
}

// Reads `text` from a string or, with argument 1, from a stream over it.
void readDocument(benchmark::State& state, const std::string& text)
{
    const bool fromStream = state.range(0) == 1;
    for (auto _ : state) {
        if (fromStream) {
            std::istringstream in(text);
            benchmark::DoNotOptimize(A::unmarshal(in).size());
        } else {
            benchmark::DoNotOptimize(A::unmarshal(text).size());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_LongValue(benchmark::State& state) { readDocument(state, valueDocument()); }
void BM_LongComment(benchmark::State& state) { readDocument(state, commentDocument()); }
void BM_LongText(benchmark::State& state) { readDocument(state, textDocument()); }
void BM_Ordinary(benchmark::State& state) { readDocument(state, ordinaryDocument()); }

#define MOX_SOURCES(b) BENCHMARK(b)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
MOX_SOURCES(BM_LongValue);
MOX_SOURCES(BM_LongComment);
MOX_SOURCES(BM_LongText);
MOX_SOURCES(BM_Ordinary);

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv,
                                     benchratio::forEachArgument({{"BM_LongValue", "BM_Ordinary"},
                                                                  {"BM_LongComment", "BM_Ordinary"},
                                                                  {"BM_LongText", "BM_Ordinary"}},
                                                                 {"0", "1"}));
}
