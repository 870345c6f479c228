// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The event callbacks components register with an application.
#include <mox/rt/Export.h>

namespace MOX {
namespace APP {

/// An event callback that components register with an application under an event id so
/// that other components can find it. The library keeps the pointer without owning it
/// and never calls it: derive from this class and add what your events need.
class MOX_API ApplicationCallback {
public:
    virtual ~ApplicationCallback() = default;
};

} // namespace APP
} // namespace MOX
