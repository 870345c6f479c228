// SPDX-License-Identifier: MIT
// The library's entry point, exported under its plain C name.
#include <mox/app/IApplicationId.h>
#include <mox/rt/Raise.h>
#include <mox/app/IServiceHelper.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Export.h>

#include <type_traits>

#include "ServiceHelper.h"

MOX_SOURCE_FILE("sm/EntryPoint")

extern "C" MOX_HELPER_EXPORT MOX::I::IServiceHelper* loadServiceHelper(
    MOX::RT::SmartPointer<MOX::APP::IApplicationId>& applicationId)
{
    if (applicationId.isNull())
        MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::NullPointer, MOX_SITE("loadServiceHelper"));
    return new MOX::SM::ServiceHelper(*applicationId);
}

// The entry point must keep the signature the application calls it with.
static_assert(std::is_same<decltype(&loadServiceHelper), MOX::I::LoadServiceHelperFunction>::value,
              "loadServiceHelper must match MOX::I::LoadServiceHelperFunction");
