// SPDX-License-Identifier: MIT
// moxctl: the library's command-line tool. Shape: moxctl <area> <verb> [args].
//
// Exit statuses: 0 ok, 1 input the library rejected (or a query that found nothing),
// 2 usage errors and files or streams that cannot be read or written. Every failure says what was being read and why.
#include "Cli.h"
#include "Output.h"
#include "Reference.h"

#include <mox/mox.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <regex>

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

using MOX::EXCEPTIONS::ErrorCode;
using MOX::EXCEPTIONS::MoxException;

// What a failure report says besides its exit status: the library's code and exception
// name (for moxctl's own failures, those of the library's failure of the same kind), the
// code's message and the particular reason.
struct Report {
    int code;
    std::string name;
    std::string message;
    std::string detail;
};

// A short-form exception has no code of its own: its kind stands for one, as across the
// C binding.
int codeOf(const MoxException& e)
{
    using namespace MOX::EXCEPTIONS;
    if (e.getCode() != 0)
        return e.getCode();
    if (dynamic_cast<const InvalidHandleException*>(&e) != nullptr)
        return static_cast<int>(ErrorCode::InvalidHandle);
    if (dynamic_cast<const ClassCastException*>(&e) != nullptr)
        return static_cast<int>(ErrorCode::ClassCast);
    if (dynamic_cast<const InvalidArgumentException*>(&e) != nullptr)
        return static_cast<int>(ErrorCode::InvalidArguments);
    return static_cast<int>(ErrorCode::Unknown);
}

// The message is the code's general text; the detail, or else the line the failing
// function traced just before throwing, is the particular reason.
Report reportOf(const MoxException& e)
{
    const int code = codeOf(e);
    std::string message = e.getMessage();
    if (message.empty())
        message = MOX::EXCEPTIONS::errorMessage(code);
    std::string detail = e.getDetail().empty() ? lastTraceLine() : e.getDetail();
    if (detail.empty() || detail == message)
        detail = e.getDetail();
    return Report{code, e.getName(), message, detail};
}

// "<name> <code>: <message>", and for a short form its traced reason.
std::string describe(const MoxException& e, const Report& r)
{
    std::string text = e.getName();
    if (e.getCode() != 0)
        text += ' ' + std::to_string(e.getCode());
    text += ": " + (e.getMessage().empty() ? r.detail : e.getMessage());
    if (!e.getMessage().empty() && e.getDetail().empty() && !r.detail.empty())
        text += " (" + r.detail + ")";
    if (e.getMessage().empty() && r.detail.empty())
        text += "refused by " + (e.getFunction().empty() ? std::string("the library") : e.getFunction());
    return text;
}

// "file:line:column" of a failure inside the document being read, when the reason names
// a line and column; empty otherwise.
std::string placeOf(const std::string& context, const std::string& detail)
{
    static const std::regex kPlace("line = ([0-9]+), column = ([0-9]+)");
    static const std::regex kFile("reading '(.*)'");
    std::smatch place;
    std::smatch file;
    if (!std::regex_search(detail, place, kPlace))
        return std::string();
    if (context == "reading standard input")
        return "<stdin>:" + place[1].str() + ':' + place[2].str();
    if (!std::regex_match(context, file, kFile))
        return std::string();
    return file[1].str() + ':' + place[1].str() + ':' + place[2].str();
}

// Prints a failure as "moxctl: [<activity>: ]<what>", or "<file>:<line>:<column>: <what>"
// for a place in a document, plus the report's detail on standard error and, with
// --json, as an "error" object on standard output.
int fail(int status, const std::string& what, const Report& r, bool withActivity = true)
{
    const std::string context = withActivity ? moxctl::activity() : std::string();
    const std::string place = placeOf(context, r.detail);
    if (!place.empty())
        std::cerr << place << ": " << what << '\n';
    else
        std::cerr << "moxctl: " << (context.empty() ? "" : context + ": ") << what << '\n';
    if (r.detail != what && what.find(r.detail) == std::string::npos)
        std::cerr << r.detail << '\n';
    if (moxctl::Output::json()) {
        moxctl::Output error;
        error.add("status", static_cast<long long>(status))
            .add("code", static_cast<long long>(r.code))
            .add("name", r.name)
            .add("message", r.message)
            .add("detail", r.detail)
            .add("context", context);
        std::cout << "{\"error\": " << error.toJson() << "}\n";
    }
    return status;
}

// moxctl's own failures (usage, a value it checks itself) are invalid arguments.
int fail(int status, const std::string& what)
{
    const ErrorCode code = ErrorCode::InvalidArguments;
    const Report r{static_cast<int>(code), "InvalidArgumentException", MOX::EXCEPTIONS::errorMessage(code), what};
    return fail(status, what, r, false);
}

int fail(const MoxException& e)
{
    const Report r = reportOf(e);
    return fail(moxctl::kExitRejected, describe(e, r), r);
}

// Everything printed must reach its reader: a failed write (a full disk, a closed pipe)
// is a failure of the run, with the system's reason.
int finish(int status)
{
    errno = 0;
    std::cout.flush();
    if (std::cout.good() && std::fflush(stdout) == 0)
        return status;
    const std::string reason = errno != 0 ? std::strerror(errno) : "write failed";
    std::cerr << "moxctl: writing standard output: " << reason << '\n';
    return status == moxctl::kExitOk ? moxctl::kExitUsage : status;
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
        const std::string path = moxctl::commandPath(*at);
        return fail(moxctl::kExitUsage, "unknown command '" + left.front() + "' for '" + path + "' (see '" +
                                            path + " --help')");
    }
    std::string path;
    for (const CLI::App* a = at; a->get_parent() != nullptr; a = a->get_parent())
        path = a->get_name() + (path.empty() ? "" : " " + path);
    return fail(moxctl::kExitUsage, (path.empty() ? "" : path + ": ") + e.what() + "\nRun 'moxctl " +
                                        (path.empty() ? "" : path + " ") + "--help' for more information.");
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
    // Not in --help: writes the man page or the completion script from the definitions above.
    app.add_option_function<std::string>("--reference", [&app](const std::string& kind) {
           std::cout << (kind == "man" ? moxctl::manPage(app) : moxctl::bashCompletion(app));
           throw CLI::Success();
       })
        ->check(CLI::IsMember({"man", "bash-completion"}))
        ->group("")
        ->trigger_on_parse();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return finish(app.exit(e));
    } catch (const CLI::CallForAllHelp& e) {
        return finish(app.exit(e));
    } catch (const CLI::CallForVersion& e) {
        return finish(app.exit(e));
    } catch (const CLI::Success&) {
        return finish(moxctl::kExitOk);
    } catch (const CLI::ParseError& e) {
        return finish(usageError(app, e));
    } catch (const moxctl::Exit& e) {
        return finish(e.message.empty() ? e.status : fail(e.status, e.message));
    } catch (const MoxException& e) {
        return finish(fail(e));
    } catch (const std::exception& e) {
        return finish(fail(moxctl::kExitRejected, e.what()));
    }
    return finish(moxctl::kExitOk);
}
