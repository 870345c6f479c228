// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Environment variables.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// Environment access.
class MOX_RT_API EnvUtils {
public:
    /// The value of the environment variable `name`, read with secure_getenv (so unset in
    /// set-uid programs), or `defaultValue` when it is unset or `name` is empty.
    static std::string GetEnv(const std::string& name, const std::string& defaultValue = std::string());
};

} // namespace RT
} // namespace MOX
