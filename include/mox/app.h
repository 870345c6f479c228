// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Joining the platform: product and application ids, the application object and the
/// service-library (MOX-SM) interfaces.
#include <mox/rt.h>

#include <mox/app/ApplicationCallback.h>
#include <mox/app/IApplication.h>
#include <mox/app/IApplicationId.h>
#include <mox/app/ILogService.h>
#include <mox/app/IProductId.h>
#include <mox/app/IServiceHelper.h>
#include <mox/app/IServiceManager.h>
#include <mox/app/PasswordFunction.h>
