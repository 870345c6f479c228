// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The root class of every value class.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// Root of every value class. Virtual operations in order: `toString`, destructor.
class MOX_RT_API Object {
public:
    /// A one-line text form of the value.
    virtual std::string toString() const = 0;
    virtual ~Object();
};

} // namespace RT
using RT::Object;
} // namespace MOX
