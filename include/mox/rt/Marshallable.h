// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The Marshallable mixin.
#include <string>

#include <mox/rt/Mixinable.h>

namespace MOX {
namespace RT {

/// A value with an XML (or other text) form it can write and read back.
/// Virtual operations in order: destructor, `unmarshal`, `marshal`.
class MOX_RT_API Marshallable : public virtual Mixinable {
public:
    ~Marshallable() override;
    /// Replaces the state with the one read from `text`; throws on malformed text.
    virtual void unmarshal(const std::string& text) = 0;
    /// The text form that `unmarshal` reads back.
    virtual std::string marshal() const = 0;
};

} // namespace RT
using RT::Marshallable;
} // namespace MOX
