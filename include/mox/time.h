// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Public headers of this area: UTC date-times.
#include <mox/rt.h>

#include <mox/time/IDateTime.h>
