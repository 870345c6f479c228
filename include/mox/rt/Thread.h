// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Thread identity.
#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// Thread identity.
class MOX_RT_API Thread {
public:
    /// The kernel thread id of the calling thread (gettid), unique among live threads.
    static long myThreadID() noexcept;
};

} // namespace RT
} // namespace MOX
