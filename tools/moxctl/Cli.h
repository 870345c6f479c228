// SPDX-License-Identifier: MIT
#pragma once
// Shared plumbing of moxctl's commands: input reading, exit statuses and the context a
// failure is reported in.
#include <CLI/CLI.hpp>

#include <cstddef>
#include <fstream>
#include <iostream>
#include <string>

namespace moxctl {

/// Exit status of a successful command.
constexpr int kExitOk = 0;
/// Exit status when the library rejected the input (or a query found nothing).
constexpr int kExitRejected = 1;
/// Exit status of a usage error or an unreadable file.
constexpr int kExitUsage = 2;

/// Thrown by a command to end with a given status after printing `message` (when not
/// empty) as "moxctl: <message>".
struct Exit {
    int status;
    std::string message;
};

/// Names what the running command is doing ("reading the date-time '...'"), so that a
/// failure of the library can say which value it was reading.
void setActivity(const std::string& activity);
/// What the running command is doing; empty when nothing was named.
const std::string& activity();

/// The most bytes readInput holds: four times the longest value a document may carry.
constexpr std::size_t kMaxInputBytes = 64u * 1024u * 1024u;

/// Reads a whole document from `path`, or from standard input when `path` is "-" or
/// empty, and names it as the activity. Throws Exit{kExitUsage} with the system's
/// reason when the file cannot be read, and SerializationException -1056 as soon as the
/// input holds a NUL byte (no XML text does) or grows beyond kMaxInputBytes, so that a
/// device or a stray file is never read whole.
std::string readInput(const std::string& path);

/// `path` opened for reading, after the checks readInput makes (named as the activity).
std::ifstream openInput(const std::string& path);

/// Runs `read` over a stream of the document at `path` (standard input for "-" or
/// empty), so that the library decodes it as it is read, without a copy in memory. The
/// same checks and messages as readInput come first.
template <class Read>
auto readStreamed(const std::string& path, Read read)
{
    if (path.empty() || path == "-") {
        setActivity("reading standard input");
        return read(std::cin);
    }
    std::ifstream in = openInput(path);
    return read(in);
}

/// Adds an optional positional FILE argument (default "-") to `cmd`.
CLI::Option* addInputOption(CLI::App* cmd, std::string& path);
/// Adds the --json flag (print the result as one JSON object) to `cmd`.
CLI::Option* addJsonOption(CLI::App* cmd);

/// Registers each area's commands (one function per area, in its own source).
void addInfoCommands(CLI::App& app);
void addXmlCommands(CLI::App& app);
void addAppCommands(CLI::App& app);
void addIdentityCommands(CLI::App& app);
void addIdentityDocumentCommands(CLI::App& app);
void addAttributeCommands(CLI::App& app);
void addTimeCommands(CLI::App& app);
void addClassCommands(CLI::App& app);

} // namespace moxctl
