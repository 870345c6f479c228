// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The one way this platform's code raises its exceptions. Each source file declares once
/// the source file name its exceptions report:
///
///     MOX_SOURCE_FILE("data/class/ClassId")
///
/// and raises by code, naming the function, for example
///
///     MOX::EXCEPTIONS::raise(ErrorCode::InvalidArguments, MOX_SITE("MOX::createClassId"));
///
/// The exception's class, message, facility and key follow from the code through the one
/// code table (rt/ErrorCode.cpp); the source location is set just before the throw.
#include <string>
#include <type_traits>

#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Export.h>

namespace MOX {
namespace EXCEPTIONS {

/// Where an exception is raised: the source file that the raising file reports, the line,
/// and the qualified name of the raising function.
struct SourceSite {
    /// The source file name declared by MOX_SOURCE_FILE.
    const char* file;
    /// The source line.
    int line;
    /// The qualified name of the raising function.
    const char* function;
};

/// Throws the full form of `code` (the class the code table gives it, facility "MOX", key
/// "code", the table's message, and `detail`), located at `site`. A code outside the
/// table throws UnexpectedException carrying that code.
[[noreturn]] MOX_RT_API void raise(ErrorCode code, const SourceSite& site, std::string detail = std::string());

/// Throws `e` located at `site`: for the forms the code table cannot build (the short
/// form, the runtime's own system errors, exceptions with two leading strings).
template <class E, class = std::enable_if_t<std::is_base_of<MoxException, E>::value>>
[[noreturn]] void raise(E e, const SourceSite& site)
{
    e.setSourceLocation(site.file, site.line, site.function);
    throw e;
}

/// Throws the runtime's own SystemException (code RuntimeSystemError, facility "MOX", key
/// "code") whose message is the failure report `message`, located at `site`: a library that
/// will not load, a local file that cannot be read or written.
[[noreturn]] MOX_RT_API void raiseSystemError(const SourceSite& site, std::string message);

} // namespace EXCEPTIONS
} // namespace MOX

/// Declares, once per source file (at namespace scope), the source file name that the
/// exceptions raised in it report.
#define MOX_SOURCE_FILE(path)                                        \
    namespace {                                                      \
    [[maybe_unused]] constexpr const char* kMoxSourceFile = (path); \
    }

/// The site of this line in `function`, in the file declared by MOX_SOURCE_FILE.
#define MOX_SITE(function) (::MOX::EXCEPTIONS::SourceSite{kMoxSourceFile, __LINE__, (function)})
