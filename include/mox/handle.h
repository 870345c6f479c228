// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Handles and the per-thread last error of the flat binding.
#include <mox/rt.h>

#include <mox/handle/Handle.h>
#include <mox/handle/HandleId.h>
#include <mox/handle/HandleManager.h>
