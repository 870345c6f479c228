// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Public headers of this area: class, interface and loader identifiers.
#include <mox/rt.h>

#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/class/LoaderId.h>
