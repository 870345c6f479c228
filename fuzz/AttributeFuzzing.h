// SPDX-License-Identifier: MIT
#pragma once
// Oracles shared by the attribute fuzz targets.
#include <string>

#include <mox/attr/Attributes.h>

namespace attrfuzz {

// Same name fields and the same values in the same order.
inline bool sameAttribute(const MOX::ATTR::IAttribute& a, const MOX::ATTR::IAttribute& b)
{
    const auto an = a.getQualifiedName();
    const auto bn = b.getQualifiedName();
    return an->getName() == bn->getName() && an->getFormat() == bn->getFormat() &&
           an->getScope() == bn->getScope() && a.getValues() == b.getValues();
}

} // namespace attrfuzz
