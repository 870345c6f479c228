// SPDX-License-Identifier: MIT
#include <mox/rt/EnvUtils.h>

#include <cstdlib>

namespace MOX {
namespace RT {

std::string EnvUtils::GetEnv(const std::string& name, const std::string& defaultValue)
{
    if (name.empty())
        return defaultValue;
    const char* value = ::secure_getenv(name.c_str());
    return value ? std::string(value) : defaultValue;
}

} // namespace RT
} // namespace MOX
