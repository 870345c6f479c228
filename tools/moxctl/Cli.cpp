// SPDX-License-Identifier: MIT
#include "Cli.h"

#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <sys/stat.h>

#include <mox/rt/Raise.h>

MOX_SOURCE_FILE("tools/moxctl/Cli")

namespace moxctl {

namespace {

std::string& activityText()
{
    static std::string text;
    return text;
}

[[noreturn]] void unreadable(const std::string& path, int error)
{
    throw Exit{kExitUsage, "cannot read '" + path + "': " + std::strerror(error)};
}

} // namespace

void setActivity(const std::string& activity) { activityText() = activity; }

const std::string& activity() { return activityText(); }

std::string readInput(const std::string& path)
{
    return readStreamed(path, [&](std::istream& in) {
        std::string text;
        char chunk[64 * 1024];
        for (;;) {
            in.read(chunk, sizeof chunk);
            const auto got = static_cast<std::size_t>(in.gcount());
            if (got == 0)
                break;
            // Refused as soon as it shows: no device or stray binary file is read whole.
            if (std::memchr(chunk, '\0', got) != nullptr)
                MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::Unmarshal, MOX_SITE("moxctl::readInput"),
                                       "a NUL byte: not an XML text");
            if (text.size() + got > kMaxInputBytes)
                MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::Unmarshal, MOX_SITE("moxctl::readInput"),
                                       "more than " + std::to_string(kMaxInputBytes) + " bytes");
            text.append(chunk, got);
        }
        if (in.bad())
            unreadable(path.empty() ? "-" : path, EIO);
        return text;
    });
}

std::ifstream openInput(const std::string& path)
{
    setActivity("reading '" + path + "'");
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        unreadable(path, errno);
    if (S_ISDIR(st.st_mode))
        unreadable(path, EISDIR);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        unreadable(path, errno != 0 ? errno : EACCES);
    return in;
}

CLI::Option* addInputOption(CLI::App* cmd, std::string& path)
{
    path = "-";
    return cmd->add_option("file", path, "Document to read ('-' for standard input)");
}

CLI::Option* addJsonOption(CLI::App* cmd)
{
    return cmd->add_flag("--json", Output::json(), "Print the result as one JSON object with the same fields");
}

} // namespace moxctl
