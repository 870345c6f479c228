// SPDX-License-Identifier: MIT
// moxctl time: read, write and show UTC date-times at their three resolutions.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <iostream>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>

namespace moxctl {

namespace {

using DateTime = MOX::RT::SmartPointer<MOX::TIME::IDateTime>;

// The text of `d` at seconds resolution. Only reading a text sets a resolution other
// than microseconds, so read the epoch at seconds resolution and move it to the time.
std::string secondsText(const DateTime& d)
{
    DateTime s = MOX::createDateTime(0);
    s->unmarshal("1970-01-01T00:00:00Z");
    s->add(d->getTime());
    return s->marshal();
}

std::string textAt(const DateTime& d, const std::string& resolution)
{
    if (resolution == "s")
        return secondsText(d);
    if (resolution == "ms")
        return d->toMillisecondString();
    return d->toMicrosecondString();
}

// The resolution `d` writes itself in, told from its text.
std::string resolutionOf(const DateTime& d)
{
    const std::string text = d->marshal();
    if (text == d->toMicrosecondString())
        return "us";
    if (text == d->toMillisecondString())
        return "ms";
    return "s";
}

// The microseconds of `text`: a whole number that fits a 64-bit count, else refused
// with the reason (the library would clamp what does not fit).
long long microsecondsOf(const std::string& text)
{
    setActivity("reading the microseconds '" + text + "'");
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || std::isspace(static_cast<unsigned char>(text[0])))
        throw Exit{kExitRejected, "'" + text + "' is not a whole number of microseconds"};
    if (errno == ERANGE)
        throw Exit{kExitRejected, "'" + text + "' microseconds is outside the 64-bit range of a date-time"};
    return value;
}

CLI::Option* addResolutionOption(CLI::App* cmd, std::string& resolution)
{
    resolution = "us";
    return cmd->add_option("--res", resolution, "Resolution of the text: s, ms or us (default us)")
        ->check(CLI::IsMember({"s", "ms", "us"}));
}

} // namespace

void addTimeCommands(CLI::App& app)
{
    CLI::App* time = app.add_subcommand("time", "UTC date-times: current time, reading and writing");
    time->require_subcommand(1);

    struct Args {
        std::string resolution;
        std::string text;
        std::string microseconds;
    };
    auto args = std::make_shared<Args>();

    CLI::App* now = time->add_subcommand("now", "Print the current time (whole milliseconds)");
    addResolutionOption(now, args->resolution);
    now->callback([args] { std::cout << textAt(MOX::getCurrentTime(), args->resolution) << '\n'; });

    CLI::App* parse = time->add_subcommand("parse", "Read a UTC date-time text and show it at every resolution");
    parse->add_option("text", args->text, "Text such as 2026-12-04T05:38:45.250Z")->required();
    addJsonOption(parse);
    parse->callback([args] {
        setActivity("reading the date-time '" + args->text + "'");
        DateTime d = MOX::createDateTime(0);
        d->unmarshal(args->text);
        Output()
            .add("microseconds", static_cast<long long>(d->getTime()))
            .add("resolution", resolutionOf(d))
            .add("s", secondsText(d))
            .add("ms", d->toMillisecondString())
            .add("us", d->toMicrosecondString())
            .print();
    });

    CLI::App* format = time->add_subcommand("format", "Write a time given in microseconds since 1970 as text");
    format->add_option("microseconds", args->microseconds, "Microseconds since 1970-01-01T00:00:00Z")->required();
    addResolutionOption(format, args->resolution);
    format->callback([args] {
        const long long micros = microsecondsOf(args->microseconds);
        std::cout << textAt(MOX::createDateTime(micros), args->resolution) << '\n';
    });
}

} // namespace moxctl
