// SPDX-License-Identifier: MIT
// marshal and unmarshal of date-times at each resolution, each next to a peer that does
// the same work the plain way: gmtime_r + strftime + snprintf for writing, and
// Trim + sscanf + the day arithmetic for reading. The ratios are printed at the end.
#include <cstdio>
#include <ctime>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <mox/rt/StringUtils.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"
#include "RatioReporter.h"

namespace {

using MOX::TIME::DateTimeImpl;

constexpr std::size_t kSamples = 1024;

// Times spread over 1970 to 2099 (the range where both readers agree on every day).
const std::vector<long long>& sampleTimes()
{
    static const std::vector<long long> times = [] {
        std::mt19937_64 random(6);
        std::uniform_int_distribution<long long> any(0, 4102444799999999LL);
        std::vector<long long> t;
        for (std::size_t i = 0; i < kSamples; ++i)
            t.push_back(any(random));
        return t;
    }();
    return times;
}

// The plain way of reading it: trimmed checks, the resolution, sscanf, the arithmetic.
long long peerParse(const std::string& text)
{
    const std::string t = MOX::RT::StringUtils::Trim(text);
    if (!MOX::RT::StringUtils::EndsWith(t, "Z") || t.find('+') != std::string::npos)
        throw std::invalid_argument("shape");
    const std::size_t dot = t.find('.');
    const int resolution = dot == std::string::npos ? 0 : (t.size() - dot - 1 <= 4 ? 1 : 2);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    long long fraction = 0;
    int n;
    if (resolution == 0)
        n = std::sscanf(text.c_str(), "%4d-%02d-%02dT%02d:%02d:%02dZ", &year, &month, &day, &hour, &minute, &second);
    else if (resolution == 1)
        n = std::sscanf(text.c_str(), "%4d-%02d-%02dT%02d:%02d:%02d.%03lldZ", &year, &month, &day, &hour, &minute,
                        &second, &fraction);
    else
        n = std::sscanf(text.c_str(), "%4d-%02d-%02dT%02d:%02d:%02d.%06lldZ", &year, &month, &day, &hour, &minute,
                        &second, &fraction);
    if (n != (resolution == 0 ? 6 : 7))
        throw std::invalid_argument("fields");
    if (month < 1 || month > 12)
        throw std::invalid_argument("month");
    static const int start[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const long long y = year - 1900;
    long long days = start[month - 1] + day - 1 + (y - 70) * 365 + (y - 68) / 4;
    if (y % 4 == 0 && month < 3)
        --days;
    const long long micros = resolution == 1 ? fraction * 1000 : fraction;
    return (((days * 24 + hour) * 60 + minute) * 60 + second) * 1000000 + micros;
}

// Date-times holding the sample times at resolution `resolution`.
std::vector<DateTimeImpl> sampleValues(int resolution)
{
    std::vector<DateTimeImpl> values;
    for (long long t : sampleTimes()) {
        DateTimeImpl d;
        d.unmarshal(timetest::oracleText(t, resolution));
        values.push_back(d);
    }
    return values;
}

std::vector<std::string> sampleTexts(int resolution)
{
    std::vector<std::string> texts;
    for (long long t : sampleTimes())
        texts.push_back(timetest::oracleText(t, resolution));
    return texts;
}

void BM_Marshal(benchmark::State& state)
{
    const std::vector<DateTimeImpl> values = sampleValues(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = values[i++ % kSamples].marshal();
        benchmark::DoNotOptimize(text);
    }
}

void BM_MarshalPeer(benchmark::State& state)
{
    const int resolution = static_cast<int>(state.range(0));
    const std::vector<long long>& times = sampleTimes();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = timetest::oracleText(times[i++ % kSamples], resolution);
        benchmark::DoNotOptimize(text);
    }
}

void BM_Unmarshal(benchmark::State& state)
{
    const std::vector<std::string> texts = sampleTexts(static_cast<int>(state.range(0)));
    DateTimeImpl d;
    std::size_t i = 0;
    for (auto _ : state) {
        d.unmarshal(texts[i++ % kSamples]);
        benchmark::DoNotOptimize(d.getTime());
    }
}

void BM_UnmarshalPeer(benchmark::State& state)
{
    const std::vector<std::string> texts = sampleTexts(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        long long t = peerParse(texts[i++ % kSamples]);
        benchmark::DoNotOptimize(t);
    }
}

// Both readers must agree, or the comparison means nothing.
bool readersAgree()
{
    for (int r = 0; r <= 2; ++r)
        for (const std::string& text : sampleTexts(r)) {
            DateTimeImpl d;
            d.unmarshal(text);
            if (d.getTime() != peerParse(text) || d.marshal() != text)
                return false;
        }
    return true;
}

} // namespace

BENCHMARK(BM_Marshal)->DenseRange(0, 2)->ArgName("res");
BENCHMARK(BM_MarshalPeer)->DenseRange(0, 2)->ArgName("res");
BENCHMARK(BM_Unmarshal)->DenseRange(0, 2)->ArgName("res");
BENCHMARK(BM_UnmarshalPeer)->DenseRange(0, 2)->ArgName("res");

int main(int argc, char** argv)
{
    if (!readersAgree()) {
        std::fprintf(stderr, "the library and its peer disagree on the sample texts\n");
        return 1;
    }
    return benchratio::runWithRatios(argc, argv,
                                     benchratio::forEachArgument({{"BM_Marshal", "BM_MarshalPeer"}, {"BM_Unmarshal", "BM_UnmarshalPeer"}},
                                                                 {"res:0", "res:1", "res:2"}));
}
