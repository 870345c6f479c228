// SPDX-License-Identifier: MIT
#pragma once
// Shared plumbing of moxctl's commands: input reading, exit statuses and the context a
// failure is reported in.
#include <CLI/CLI.hpp>

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

/// Reads a whole document from `path`, or from standard input when `path` is "-" or
/// empty, and names it as the activity. Throws Exit{kExitUsage} with the system's
/// reason when the file cannot be read.
std::string readInput(const std::string& path);

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
