// SPDX-License-Identifier: MIT
#include "Reference.h"

#include <sstream>
#include <vector>

namespace moxctl {

namespace {

// The sections no command definition holds.
constexpr const char* kManTail = R"(.SH EXIT STATUS
.TP
.B 0
success
.TP
.B 1
the library rejected the input (the message names the value read and the reason), or a
query found nothing
.TP
.B 2
usage error, or a file or stream that cannot be read or written
.SH DIAGNOSTICS
Failures are written to standard error as
.BR "moxctl: " [\fIactivity\fB:\ ]\fImessage\fR,
followed by the library's detail when it gives one. A failure at a place in a document
is written as
.IB file : line : column ": " message
(\fB<stdin>\fR for standard input). With
.BR \-\-json ,
standard output also receives
.B {"error": {...}}
with the keys \fBstatus\fR, \fBcode\fR, \fBname\fR, \fBmessage\fR, \fBdetail\fR and
\fBcontext\fR. All JSON keys are lower case with words joined by underscores.
.SH ENVIRONMENT
.TP
.B MOX_TRACE
trace scopes to write to standard error, by words of their names (for example
\fBdll,time\fR; \fB1\fR, \fBall\fR or \fB*\fR for all; \fB0\fR, \fBoff\fR or empty for none)
.TP
.B MOX_LIBRARY_PATH
directories searched for the service library by \fBmoxctl app\fR, before the library's
private folder
.SH EXAMPLES
.nf
moxctl time parse 2026-12-04T05:38:45.250Z
moxctl identity show \-\-json NT:CORP/alice
moxctl attributes validate list.xml
moxctl \-\-trace app join \-\-config /etc/myapp
.fi
)";

// Roff text: a leading '.' or '\'' is escaped, backslashes and minus signs are quoted.
std::string roff(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else if ((c == '.' || c == '\'') && (i == 0 || text[i - 1] == '\n'))
            out += std::string("\\&") + c;
        else
            out += c;
    }
    return out;
}

std::vector<const CLI::App*> commandsOf(const CLI::App& app)
{
    return app.get_subcommands([](const CLI::App* sub) { return !sub->get_group().empty(); });
}

std::vector<const CLI::Option*> optionsOf(const CLI::App& app)
{
    return app.get_options([](const CLI::Option* o) { return o->nonpositional() && !o->get_group().empty(); });
}

std::vector<const CLI::Option*> argumentsOf(const CLI::App& app)
{
    return app.get_options([](const CLI::Option* o) { return o->get_positional(); });
}

// "--res TEXT", "-h, --help".
std::string optionSynopsis(const CLI::Option& o)
{
    std::string names;
    for (const std::string& s : o.get_snames())
        names += (names.empty() ? "\\fB\\-" : ", \\fB\\-") + s + "\\fR";
    for (const std::string& l : o.get_lnames())
        names += (names.empty() ? "\\fB\\-\\-" : ", \\fB\\-\\-") + roff(l) + "\\fR";
    if (o.get_expected_min() > 0)
        names += " \\fI" + o.get_type_name() + "\\fR";
    return names;
}

std::string argumentSynopsis(const CLI::Option& o)
{
    const std::string name = "\\fI" + o.get_name(true) + "\\fR";
    return o.get_required() ? name : "[" + name + "]";
}

void describeOptions(std::ostream& out, const CLI::App& app)
{
    for (const CLI::Option* o : argumentsOf(app))
        out << ".TP\n" << argumentSynopsis(*o) << '\n' << roff(o->get_description()) << '\n';
    for (const CLI::Option* o : optionsOf(app)) {
        out << ".TP\n" << optionSynopsis(*o) << '\n' << roff(o->get_description());
        if (!o->get_default_str().empty())
            out << " (default: " << roff(o->get_default_str()) << ')';
        out << '\n';
    }
}

// One subsection per runnable command, depth first in definition order.
void describeCommands(std::ostream& out, const CLI::App& app)
{
    for (const CLI::App* cmd : commandsOf(app)) {
        const auto verbs = commandsOf(*cmd);
        if (!verbs.empty()) {
            describeCommands(out, *cmd);
            continue;
        }
        out << ".SS \"" << roff(commandPath(*cmd)) << "\"\n";
        out << ".B " << roff(commandPath(*cmd));
        if (!optionsOf(*cmd).empty())
            out << " [\\fIoptions\\fR]";
        for (const CLI::Option* o : argumentsOf(*cmd))
            out << ' ' << argumentSynopsis(*o);
        out << "\n.br\n" << roff(cmd->get_description()) << '\n';
        describeOptions(out, *cmd);
    }
}

// A bash word list, one entry per command path: ["moxctl time parse"]="--help --json".
void completionTable(std::ostream& out, const CLI::App& app, const std::string& path, const char* what)
{
    std::string words;
    const std::string kind(what);
    if (kind == "commands") {
        for (const CLI::App* cmd : commandsOf(app))
            words += (words.empty() ? "" : " ") + cmd->get_name();
    } else {
        for (const CLI::Option* o : optionsOf(app)) {
            if (kind == "valued" && o->get_expected_min() == 0)
                continue;
            for (const std::string& l : o->get_lnames())
                words += (words.empty() ? "--" : " --") + l;
            for (const std::string& s : o->get_snames())
                words += (words.empty() ? "-" : " -") + s;
        }
    }
    out << "    [\"" << path << "\"]=\"" << words << "\"\n";
    for (const CLI::App* cmd : commandsOf(app))
        completionTable(out, *cmd, path + " " + cmd->get_name(), what);
}

// How the completion walks a command line: words that name a command of the path so far
// extend it, values of options that take one are skipped.
constexpr const char* kCompletionBody = R"(_moxctl()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} path=moxctl word i
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ " ${_moxctl_valued[$path]} " == *" $word "* ]]; then
            ((i++))
        elif [[ $word != -* && " ${_moxctl_commands[$path]} " == *" $word "* ]]; then
            path="$path $word"
        fi
    done
    if [[ " ${_moxctl_valued[$path]} " == *" $prev "* ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
    elif [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "${_moxctl_options[$path]}" -- "$cur"))
    elif [[ -n ${_moxctl_commands[$path]} ]]; then
        COMPREPLY=($(compgen -W "${_moxctl_commands[$path]}" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -o filenames -F _moxctl moxctl
)";

} // namespace

std::string commandPath(const CLI::App& app)
{
    std::string path;
    for (const CLI::App* a = &app; a != nullptr; a = a->get_parent())
        path = a->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

std::string manPage(const CLI::App& app)
{
    std::ostringstream out;
    out << ".\\\" Written by `moxctl --reference man` from its command definitions; do not edit.\n"
        << ".TH MOXCTL 1 \"\" \"moxctl\" \"User Commands\"\n"
        << ".SH NAME\nmoxctl \\- inspect and exercise the MOX core data library\n"
        << ".SH SYNOPSIS\n.B moxctl\n[\\fIoptions\\fR] \\fIarea\\fR \\fIverb\\fR [\\fIoptions\\fR] [\\fIarguments\\fR]\n"
        << ".SH DESCRIPTION\n"
        << "moxctl reads, checks and converts the values and documents of the MOX core data library. "
           "Every area groups the verbs of one kind of value; each verb reads its arguments "
           "or a document (a file, or standard input for \\fB\\-\\fR or none) and prints the "
           "result as text, or with \\fB\\-\\-json\\fR as one JSON object.\n"
        << ".SH OPTIONS\n";
    describeOptions(out, app);
    out << ".SH COMMANDS\n";
    describeCommands(out, app);
    out << kManTail;
    return out.str();
}

std::string bashCompletion(const CLI::App& app)
{
    std::ostringstream out;
    out << "# bash completion for moxctl, written by `moxctl --reference bash-completion` from its\n"
           "# command definitions; do not edit.\n";
    for (const char* what : {"commands", "options", "valued"}) {
        out << "declare -gA _moxctl_" << what << "=(\n";
        completionTable(out, app, app.get_name(), what);
        out << ")\n";
    }
    out << kCompletionBody;
    return out.str();
}

} // namespace moxctl
