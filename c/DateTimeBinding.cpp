// SPDX-License-Identifier: MIT
// Date-times in the C binding.
#include "Binding.h"

#include <mox/time/IDateTime.h>

MOX_SOURCE_FILE("c/DateTimeBinding")

using MOX::TIME::IDateTime;
using namespace moxc;

namespace {

// The text at whole seconds: the millisecond form without its fraction (the fraction is
// never negative, so this is the second at or before the time).
std::string secondsText(const IDateTime& time)
{
    std::string text = time.toMillisecondString();
    const std::size_t dot = text.rfind('.');
    if (dot != std::string::npos)
        text.erase(dot, text.size() - 1 - dot);
    return text;
}

} // namespace

extern "C" {

int mox_datetime_create(long long micros, mox_handle* out)
{
    const Site site = MOX_SITE("mox_datetime_create");
    return makeHandle<MOX::TIME::IDateTime>(out, site, [&] { return MOX::createDateTime(micros); });
}

int mox_datetime_now(mox_handle* out)
{
    const Site site = MOX_SITE("mox_datetime_now");
    return makeHandle<MOX::TIME::IDateTime>(out, site, [] { return MOX::getCurrentTime(); });
}

int mox_datetime_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_datetime_parse");
    site.rule("must be a UTC date-time YYYY-MM-DDThh:mm:ss[.fff|.ffffff]Z with month 01-12, a day of that month, hour "
              "00-23, minutes and seconds 00-59");
    return makeHandle<MOX::TIME::IDateTime>(out, site, [&] {
        const std::string utc = requireText(text, "text", site);
        const auto time = MOX::createDateTime(0);
        time->unmarshal(utc);
        return time;
    });
}

int mox_datetime_micros(mox_handle datetime, long long* out)
{
    const Site site = MOX_SITE("mox_datetime_micros");
    return readValue<IDateTime>(datetime, out, site, [](const IDateTime& t) { return t.getTime(); });
}

int mox_datetime_format(mox_handle datetime, int resolution, char** text)
{
    const Site site = MOX_SITE("mox_datetime_format");
    return readText<IDateTime>(datetime, text, site, [&](const IDateTime& t) {
        switch (resolution) {
        case MOX_RESOLUTION_OWN:
            return t.marshal();
        case MOX_RESOLUTION_SECONDS:
            return secondsText(t);
        case MOX_RESOLUTION_MILLISECONDS:
            return t.toMillisecondString();
        case MOX_RESOLUTION_MICROSECONDS:
            return t.toMicrosecondString();
        default:
            MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::InvalidArguments, site,
                                   "resolution " + std::to_string(resolution) + " is none of -1 (its own), 0, 1 and 2");
        }
    });
}

} // extern "C"
