// SPDX-License-Identifier: MIT
#include <mox/rt/Cloneable.h>
#include <mox/rt/IProperties.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Mixinable.h>
#include <mox/rt/Object.h>

// Out-of-line destructors anchor the vtables and type information in libmox-rt, so
// dynamic_cast and catch clauses agree across every library of the process.
namespace MOX {
namespace RT {
Object::~Object() = default;
Mixinable::~Mixinable() = default;
Marshallable::~Marshallable() = default;
Cloneable::~Cloneable() = default;
} // namespace RT
namespace I {
IProperties::~IProperties() = default;
} // namespace I
} // namespace MOX
