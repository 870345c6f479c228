// SPDX-License-Identifier: MIT
// Uses the installed library the way an outside component does; exits non-zero on
// any surprise.
#include <mox/mox.h>

#include <cstdio>
#include <cstring>

int main()
{
    LibraryInfo info{};
    mox_getLibraryInfo(&info);
    int failures = std::strcmp(mox_getVersionString(), "2.1.0.0") == 0 && info.version == mox_getVersionString() ? 0 : 1;
    try {
        MOX::RT::StringUtils::AsInteger("12x");
        ++failures;
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) { // caught by its class across the boundary
        failures += e.getCode() == -1009 ? 0 : 1;
    }
    std::printf("consumer: %s %s, %d failure(s)\n", info.productName, info.version, failures);
    return failures == 0 ? 0 : 1;
}
