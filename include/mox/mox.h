// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The whole public API of the MOX core data library and its runtime.

#include <mox/rt.h>

#include <mox/LibraryInfo.h>
#include <mox/Shred.h>

#include <mox/app.h>
#include <mox/attr.h>
#include <mox/authn.h>
#include <mox/class.h>
#include <mox/handle.h>
#include <mox/persist.h>
#include <mox/time.h>
#include <mox/xb.h>

// The version macros and the flat C binding (libmox-c, target mox::c).
#include <mox/mox_c.h>
#include <mox/version.h>
