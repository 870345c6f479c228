// SPDX-License-Identifier: MIT
#include <mox/handle/Handle.h>

namespace MOX {
namespace HDL {

Handle::Handle(const std::string& classname) : classname(classname) {}

Handle::Handle(const Handle& other) : classname(other.classname) {}

Handle::~Handle() = default;

const std::string& Handle::getClassname() const { return classname; }

} // namespace HDL
} // namespace MOX
