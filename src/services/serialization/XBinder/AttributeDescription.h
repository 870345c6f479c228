// SPDX-License-Identifier: MIT
#pragma once
// The description of one "attribute" element, for the document's own item class and for
// the writer's view of an attribute's texts, so that both write and fail alike.
#include "services/serialization/manager/XBTypeBuilder.h"

namespace MOX {
namespace XB {

/// The "xbattribute" type over class T, whose fields `name`, `type`, `scope` and
/// `value_list` hold the texts or point to texts held elsewhere.
template <class T>
XBType describeAttribute()
{
    return XBTypeBuilder<T>::sequence("xbattribute")
        .template attribute<&T::name>("name")
        .template attribute<&T::type>("type", Use::Optional)
        .template attribute<&T::scope>("scope", Use::Optional)
        .template list<&T::value_list>("value", "xbattribute_value");
}

} // namespace XB
} // namespace MOX
