// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The root of the mixin classes.
#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// Root of the mixin classes (`Marshallable`, `Cloneable`); only a virtual destructor.
class MOX_RT_API Mixinable {
public:
    virtual ~Mixinable();
};

} // namespace RT
using RT::Mixinable;
} // namespace MOX
