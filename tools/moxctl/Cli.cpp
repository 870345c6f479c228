// SPDX-License-Identifier: MIT
#include "Cli.h"

#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>

#include <sys/stat.h>

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
        std::ostringstream out;
        out << in.rdbuf();
        if (in.bad())
            unreadable(path.empty() ? "-" : path, EIO);
        return out.str();
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
