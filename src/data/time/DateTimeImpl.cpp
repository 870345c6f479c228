// SPDX-License-Identifier: MIT
#include "data/time/DateTimeImpl.h"
#include <mox/rt/Raise.h>

#include <cstdio>
#include <cstring>

#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>

#include "data/time/impl/UtcText.h"

MOX_SOURCE_FILE("data/time/DateTimeImpl")

namespace MOX {
namespace TIME {

namespace {

inline bool isTrimSpace(char c) noexcept
{
    // StringUtils::Trim's white space: space, \t, \n, \v, \f, \r.
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The resolution a text is written in: 0 without a fraction, 1 with up to three
// characters between the first '.' and the final Z, 2 with more. Rejects a text that,
// trimmed, does not end in Z or that holds a '+' (a zone offset).
int getFormatResolution(const std::string& text)
{
    RT::Tracer tracer("MOX::TIME::DateTimeImpl::DateTimeImpl::getFormatResolution", true);
    // The trimmed text as bounds, without copying it.
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && isTrimSpace(*first))
        ++first;
    while (last != first && isTrimSpace(last[-1]))
        --last;
    const std::size_t length = static_cast<std::size_t>(last - first);
    if (length == 0 || last[-1] != 'Z' || std::memchr(first, '+', length) != nullptr) {
        tracer.printf("%s is not a supported UTC date-time format", text.c_str());
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidInput, MOX_SITE("getFormatResolution"));
    }
    const char* dot = static_cast<const char*>(std::memchr(first, '.', length));
    if (dot == nullptr)
        return impl::kSeconds;
    // The digits after the point and the final Z.
    return last - (dot + 1) <= 4 ? impl::kMilliseconds : impl::kMicroseconds;
}

// The time a text gives at `resolution`, scanned field by field as sscanf would.
long long utcToTime(const std::string& text, int resolution)
{
    RT::Tracer tracer("MOX::TIME::DateTimeImpl::DateTimeImpl::utcToTime", true);
    impl::UtcFields fields;
    const int scanned = impl::scanUtc(text.c_str(), resolution, fields);
    if (scanned == EOF || scanned != impl::utcFieldCount(resolution)) {
        tracer.printf("%s is not a supoprted UTC date-time format", text.c_str());
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidInput, MOX_SITE("utcToTime"));
    }
    if (fields.month < 1 || fields.month > 12) {
        tracer.printf("Illegal month value %d in UTC timestamp", fields.month);
        EXCEPTIONS::raise(EXCEPTIONS::InvalidArgumentException(), MOX_SITE("utcToTime"));
    }
    return impl::utcTime(fields, resolution);
}

} // namespace

DateTimeImpl::DateTimeImpl() : resolution(impl::kMicroseconds), time(0) {}

DateTimeImpl::DateTimeImpl(long long microseconds) : resolution(impl::kMicroseconds), time(microseconds) {}

DateTimeImpl::~DateTimeImpl() = default;

long long DateTimeImpl::getSeconds() const { return time / 1000000; }

long long DateTimeImpl::getMicroseconds() const { return time - getSeconds() * 1000000; }

long long DateTimeImpl::getTime() const { return time; }

void DateTimeImpl::add(long long microseconds)
{
    // Wrapping like the platform's 64-bit arithmetic, without signed-overflow UB.
    time = static_cast<long long>(static_cast<unsigned long long>(time) + static_cast<unsigned long long>(microseconds));
}

std::string DateTimeImpl::toMillisecondString() const { return impl::formatUtc(time, impl::kMilliseconds); }

std::string DateTimeImpl::toMicrosecondString() const { return impl::formatUtc(time, impl::kMicroseconds); }

bool DateTimeImpl::lessThan(const IDateTime& other) const { return time < other.getTime(); }

std::string DateTimeImpl::toString() const { return marshal(); }

void DateTimeImpl::unmarshal(const std::string& text)
{
    const int found = getFormatResolution(text);
    resolution = found;
    time = utcToTime(text, found);
}

std::string DateTimeImpl::marshal() const { return impl::formatUtc(time, resolution); }

} // namespace TIME
} // namespace MOX
