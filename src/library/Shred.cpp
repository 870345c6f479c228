// SPDX-License-Identifier: MIT
#include <mox/Shred.h>

#include <mox/rt/StringUtils.h>

namespace MOX {

void shredString(std::string& text) { RT::StringUtils::shredString(text); }

} // namespace MOX
