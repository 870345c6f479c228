// SPDX-License-Identifier: MIT
#include <mox/rt/Library.h>

#include <utility>

namespace MOX {
namespace RT {

Library::Library(std::string name, std::string searchPath)
    : m_name(std::move(name)), m_searchPath(std::move(searchPath))
{
}

} // namespace RT
} // namespace MOX
