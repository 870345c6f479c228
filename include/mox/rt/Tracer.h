// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Trace scopes and trace output.
#include <functional>
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// A trace scope named after the function that opens it.
///
/// Lines written with `printf` go to one process-wide sink as (scope, line). The default
/// sink writes "[scope] line" to stderr for the scopes the environment variable
/// MOX_TRACE selects (read once, at the first trace; see `setScopes` for its syntax);
/// otherwise a trace costs one atomic load. A sink installed with `setSink` receives
/// every line.
///
/// Opening and closing of scopes are reported as the lines "enter" and "leave" only
/// while `setScopeTracing(true)` is in force (off by default), so that ordinary sinks
/// see just the lines the code writes. The flag of the constructor is kept for the
/// platform's callers (`getFlag`); it does not change what is written.
class MOX_RT_API Tracer {
public:
    /// The sink type: receives the scope name and the formatted line (no newline).
    using Sink = std::function<void(const std::string& scope, const std::string& line)>;

    /// Opens the scope `scope` (the pointer must stay valid for the scope's life).
    Tracer(const char* scope, bool flag);
    /// Closes the scope.
    ~Tracer();
    Tracer(const Tracer&) = delete;
    Tracer& operator=(const Tracer&) = delete;

    /// Writes one printf-formatted line to the sink, when tracing is on.
    void printf(const char* format, ...) const
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    /// The scope's name.
    const char* getScope() const noexcept { return m_scope; }
    /// The flag the scope was opened with.
    bool getFlag() const noexcept { return m_flag; }

    /// Installs the process-wide sink; an empty function restores the default (as
    /// MOX_TRACE selects).
    static void setSink(Sink sink);
    /// Points the default sink at the scopes `list` selects, as MOX_TRACE does: a list
    /// of words separated by ',' (or blanks), each selecting the scopes whose name
    /// contains it, ignoring case (for example "dll,time"; "codec" selects the XML
    /// codec's scopes). "1", "all", "on" or "*" select every scope; "", "0", "off" or
    /// "none" turn tracing off. Replaces any sink installed with `setSink`.
    static void setScopes(const std::string& list);
    /// Reports scope entry and exit as "enter"/"leave" lines when `on`.
    static void setScopeTracing(bool on);
    /// True when trace lines currently go anywhere.
    static bool isEnabled() noexcept;
    /// True when lines of the scope named `scope` currently go anywhere.
    static bool isEnabled(const char* scope) noexcept;
    /// True when the scope list `list` (the syntax of `setScopes`) selects `scope`.
    static bool selects(const std::string& list, const char* scope);

private:
    const char* m_scope;
    bool m_flag;
};

} // namespace RT
} // namespace MOX
