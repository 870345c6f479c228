#pragma once
// Shared plumbing of moxctl's commands: input reading, output and error reporting.
#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>

namespace moxctl {

/// Exit status of a successful command.
constexpr int kExitOk = 0;
/// Exit status when the library rejected the input.
constexpr int kExitRejected = 1;
/// Exit status of a usage error.
constexpr int kExitUsage = 2;

/// Thrown by a command to end with a given status after printing `message` (when not
/// empty) as "moxctl: <message>".
struct Exit {
    int status;
    std::string message;
};

/// Reads a whole document from `path`, or from standard input when `path` is "-" or
/// empty. Throws Exit{kExitUsage} when the file cannot be read.
std::string readInput(const std::string& path);

/// Adds an optional positional FILE argument (default "-") to `cmd`.
CLI::Option* addInputOption(CLI::App* cmd, std::string& path);

/// Registers each area's commands (one function per area, in its own source).
void addInfoCommands(CLI::App& app);
void addXmlCommands(CLI::App& app);
void addAppCommands(CLI::App& app);
void addIdentityCommands(CLI::App& app);
void addIdentityDocumentCommands(CLI::App& app);
void addAttributeCommands(CLI::App& app);
void addTimeCommands(CLI::App& app);
void addClassCommands(CLI::App& app);
void addHandleCommands(CLI::App& app);

} // namespace moxctl
