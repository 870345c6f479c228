// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Names and search paths of dynamic libraries to load.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// Names a dynamic library to load: a base name (for example "MOX-SM") and a search
/// path of directories separated by ';' or ':'.
class MOX_RT_API Library {
public:
    /// A library `name` to be looked up on `searchPath`.
    Library(std::string name, std::string searchPath = std::string());
    /// The name as given.
    const std::string& getName() const noexcept { return m_name; }
    /// The search path as given.
    const std::string& getSearchPath() const noexcept { return m_searchPath; }

private:
    std::string m_name;
    std::string m_searchPath;
};

} // namespace RT
} // namespace MOX
