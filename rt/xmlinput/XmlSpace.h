// SPDX-License-Identifier: MIT
#pragma once

namespace MOX {
namespace RT {

/// Whether `c` is one of the four white-space characters of XML.
inline bool isXmlSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace RT
} // namespace MOX
