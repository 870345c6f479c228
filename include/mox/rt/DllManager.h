// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Loading dynamic libraries.
#include <mox/rt/ErrorCode.h>
#include <mox/rt/IDynamicLibrary.h>
#include <mox/rt/Library.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace RT {

/// Loads dynamic libraries.
class MOX_RT_API DllManager {
public:
    /// Loads `library` with RTLD_NOW | RTLD_LOCAL.
    ///
    /// The search path is split at ';' and ':'. Empty and relative entries are skipped
    /// (they would make the current directory a place to plant a library), each with a
    /// trace line. In each remaining directory the candidates are `name`, `lib<name>.so`
    /// and `<name>.so`; then the same in the library's private folder of service
    /// libraries (`<libdir>/mox`, next to libmox-rt); after them the system's own search
    /// (dlopen of the same three names without a directory, so LD_LIBRARY_PATH, the
    /// runpath and ld.so.cache apply). The current directory is never searched. A name
    /// that contains '/' is loaded as that path only. A successful load leaves the trace
    /// line `loaded "<name>" from <path>`.
    ///
    /// Throws SystemException when no candidate loads (or the name is empty): the full
    /// form with facility "MOX", key "code" and code `LoadFailed`, whose message names
    /// the library, every place tried and the loader's error text (that of a candidate
    /// file that exists but would not load, else the last one).
    static SmartPointer<IDynamicLibrary> loadLibrary(const Library& library);

    /// The code of the SystemException of a failed load. It lies outside the platform's
    /// table, so its message is the load report itself.
    static constexpr int LoadFailed = ::MOX::EXCEPTIONS::RuntimeSystemError;
};

} // namespace RT
} // namespace MOX
