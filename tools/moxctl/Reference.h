// SPDX-License-Identifier: MIT
#pragma once
// moxctl's reference texts, written from the command definitions themselves so that the
// man page and the shell completion never drift from what the program accepts.
#include <CLI/CLI.hpp>

#include <string>

namespace moxctl {

/// The man page (roff) of `app`: every command with its arguments and options, then the
/// exit statuses, environment and examples.
std::string manPage(const CLI::App& app);

/// A bash completion script that offers, at each point of a command line, exactly the
/// commands and options `app` accepts there, and file names for arguments.
std::string bashCompletion(const CLI::App& app);

/// The words that reach `app` from the program's name, as "moxctl identity show".
std::string commandPath(const CLI::App& app);

} // namespace moxctl
