// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The Cloneable mixin.
#include <mox/rt/Mixinable.h>

namespace MOX {
namespace RT {

/// A value that can copy itself. Virtual operations in order: destructor, `clone`.
class MOX_RT_API Cloneable : public virtual Mixinable {
public:
    ~Cloneable() override;
    /// A new heap copy; the caller owns it (usually by adopting it into a SmartPointer).
    virtual Cloneable* clone() const = 0;
};

} // namespace RT
using RT::Cloneable;
} // namespace MOX
