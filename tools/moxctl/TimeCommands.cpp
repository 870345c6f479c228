// moxctl time: read, write and show UTC date-times at their three resolutions.
#include "Cli.h"

#include <mox/mox.h>

#include <iostream>
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
        long long microseconds = 0;
    };
    auto args = std::make_shared<Args>();

    CLI::App* now = time->add_subcommand("now", "Print the current time (whole milliseconds)");
    addResolutionOption(now, args->resolution);
    now->callback([args] { std::cout << textAt(MOX::getCurrentTime(), args->resolution) << '\n'; });

    CLI::App* parse = time->add_subcommand("parse", "Read a UTC date-time text and show it at every resolution");
    parse->add_option("text", args->text, "Text such as 2026-12-04T05:38:45.250Z")->required();
    parse->callback([args] {
        DateTime d = MOX::createDateTime(0);
        d->unmarshal(args->text);
        std::cout << "microseconds: " << d->getTime() << '\n'
                  << "resolution: " << resolutionOf(d) << '\n'
                  << "s: " << secondsText(d) << '\n'
                  << "ms: " << d->toMillisecondString() << '\n'
                  << "us: " << d->toMicrosecondString() << '\n';
    });

    CLI::App* format = time->add_subcommand("format", "Write a time given in microseconds since 1970 as text");
    format->add_option("microseconds", args->microseconds, "Microseconds since 1970-01-01T00:00:00Z")->required();
    addResolutionOption(format, args->resolution);
    format->callback(
        [args] { std::cout << textAt(MOX::createDateTime(args->microseconds), args->resolution) << '\n'; });
}

} // namespace moxctl
