// SPDX-License-Identifier: MIT
#include "Cli.h"

#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (path.empty() || path == "-") {
        setActivity("reading standard input");
        std::ostringstream out;
        out << std::cin.rdbuf();
        return out.str();
    }
    setActivity("reading '" + path + "'");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        unreadable(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        unreadable(path, EISDIR);
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            unreadable(path, error);
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
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
