// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Overwriting secrets held in strings (shredString).
#include <string>

#include <mox/rt/Export.h>

namespace MOX {

/// Overwrites the contents of `text` (which held a secret) in place; its length stays.
/// The overwrite cannot be removed by the optimiser.
MOX_API void shredString(std::string& text);

} // namespace MOX
