// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Dynamic libraries loaded by DllManager.
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>

namespace MOX {
namespace RT {

/// A dynamic library that DllManager loaded. It stays loaded for the rest of the process
/// (releasing this object does not unload it), so addresses taken from it remain valid.
/// `toString` gives "DynamicLibrary(<path>)".
class MOX_RT_API IDynamicLibrary : public virtual Object {
public:
    ~IDynamicLibrary() override;

    /// The address of the symbol `name` (a plain C name), or null when absent.
    virtual void* getSymbol(const std::string& name) const = 0;
    /// The file that was loaded (as passed to dlopen).
    virtual const std::string& getPath() const noexcept = 0;
    /// Every candidate tried, in order, ending with the one that loaded.
    virtual const Vector<std::string>& getTried() const noexcept = 0;
};

} // namespace RT
} // namespace MOX
