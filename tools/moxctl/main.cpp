// SPDX-License-Identifier: MIT
// moxctl: the library's command-line tool. Shape: moxctl <area> <verb> [args].
//
// Exit statuses: 0 ok, 1 input the library rejected (or a query that found nothing),
// 2 usage errors and unreadable files. Every failure says what was being read and why.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>

namespace {

using MOX::RT::Tracer;

// The last trace line of the run: a short-form exception carries no message of its own,
// and its reason is the line the failing function traced just before throwing.
std::string& lastTraceLine()
{
    static std::string line;
    return line;
}

// Keeps every trace line for the failure report and echoes those the scope list
// selects (--trace: all of them; otherwise MOX_TRACE's).
void captureTraces(const std::string& echoScopes)
{
    Tracer::setSink([echoScopes](const std::string& scope, const std::string& line) {
        lastTraceLine() = line;
        if (Tracer::selects(echoScopes, scope.c_str()))
            std::fprintf(stderr, "[%s] %s\n", scope.c_str(), line.c_str());
    });
}

std::string describe(const MOX::EXCEPTIONS::MoxException& e)
{
    std::string text = e.getName();
    if (e.getCode() != 0)
        text += ' ' + std::to_string(e.getCode());
    // The message is the code's general text; the detail (printed below it) or else the
    // traced line, when there is one, is the particular reason.
    const std::string traced = e.getDetail().empty() ? lastTraceLine() : std::string();
    std::string reason = e.getMessage();
    if (reason.empty())
        reason = traced;
    else if (!traced.empty() && traced != reason)
        reason += " (" + traced + ")";
    if (reason.empty())
        reason = "refused by " + (e.getFunction().empty() ? std::string("the library") : e.getFunction());
    text += ": " + reason;
    return text;
}

// Prints a failure as "moxctl: [<activity>: ]<what>" (plus the library's detail) on
// standard error and, with --json, as an "error" object on standard output.
int fail(int status, const std::string& what, const MOX::EXCEPTIONS::MoxException* e = nullptr,
         bool withActivity = true)
{
    const std::string context = withActivity ? moxctl::activity() : std::string();
    std::cerr << "moxctl: " << (context.empty() ? "" : context + ": ") << what << '\n';
    if (e != nullptr && !e->getDetail().empty())
        std::cerr << e->getDetail() << '\n';
    if (moxctl::Output::json()) {
        moxctl::Output error;
        error.add("status", static_cast<long long>(status)).add("context", context).add("message", what);
        if (e != nullptr)
            error.add("name", e->getName()).add("code", static_cast<long long>(e->getCode())).add("detail", e->getDetail());
        std::cout << "{\"error\": " << error.toJson() << "}\n";
    }
    return status;
}

// The deepest command the arguments reached.
const CLI::App* reached(const CLI::App& app)
{
    const CLI::App* current = &app;
    for (;;) {
        const auto parsed = current->get_subcommands();
        if (parsed.empty())
            return current;
        current = parsed.front();
    }
}

// Usage errors: an unknown command is named as such, the rest as CLI11 words them.
int usageError(const CLI::App& app, const CLI::ParseError& e)
{
    const CLI::App* at = reached(app);
    const auto left = at->remaining();
    const bool hasCommands = !at->get_subcommands({}).empty();
    if (hasCommands && !left.empty() && !left.front().empty() && left.front()[0] != '-') {
        std::string path;
        for (const CLI::App* a = at; a != nullptr; a = a->get_parent())
            path = a->get_name() + (path.empty() ? "" : " " + path);
        std::cerr << "moxctl: unknown command '" << left.front() << "' for '" << path << "' (see '" << path
                  << " --help')\n";
        return moxctl::kExitUsage;
    }
    std::string path;
    for (const CLI::App* a = at; a->get_parent() != nullptr; a = a->get_parent())
        path = a->get_name() + (path.empty() ? "" : " " + path);
    std::cerr << "moxctl: " << (path.empty() ? "" : path + ": ") << e.what() << "\nRun 'moxctl "
              << (path.empty() ? "" : path + " ") << "--help' for more information.\n";
    return moxctl::kExitUsage;
}

std::string versionText()
{
    LibraryInfo li{};
    mox_getLibraryInfo(&li);
    return std::string("moxctl ") + MOXCTL_VERSION + " (library " + (li.version ? li.version : "?") + ")";
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"moxctl: inspect and exercise the MOX core data library"};
    app.name("moxctl");
    app.require_subcommand(1);
    app.fallthrough(false);
    app.set_version_flag("--version", versionText, "Print moxctl's and the library's version and exit");
    const char* env = std::getenv("MOX_TRACE");
    captureTraces(env ? env : "");
    app.add_flag_callback("--trace", [] { captureTraces("all"); },
                          "Write the library's trace lines to standard error for this run (MOX_TRACE=dll,time "
                          "picks scopes instead)")
        ->trigger_on_parse();
    moxctl::addInfoCommands(app);
    moxctl::addXmlCommands(app);
    moxctl::addAppCommands(app);
    moxctl::addIdentityCommands(app);
    moxctl::addIdentityDocumentCommands(app);
    moxctl::addAttributeCommands(app);
    moxctl::addTimeCommands(app);
    moxctl::addClassCommands(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usageError(app, e);
    } catch (const moxctl::Exit& e) {
        if (!e.message.empty())
            return fail(e.status, e.message, nullptr, false);
        return e.status;
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return fail(moxctl::kExitRejected, describe(e), &e);
    } catch (const std::exception& e) {
        return fail(moxctl::kExitRejected, e.what());
    }
    return moxctl::kExitOk;
}
