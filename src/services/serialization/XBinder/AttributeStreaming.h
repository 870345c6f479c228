#pragma once
// The library's own paths between attributes and one reused document object, for the
// readers and writers that stream a document item by item: the same rules as
// AttributeConverter's toMOX and toXB, without a new document object per attribute.
#include <mox/attr/IAttribute.h>
#include <mox/rt/SmartPointer.h>
#include <mox/xb/AttributesSchema.h>

namespace MOX {
namespace XB {

/// A new attribute made from `item` as AttributeConverter::toMOX makes it (an empty
/// name throws the same exception); `item`'s texts are taken, its lists keep their room.
RT::SmartPointer<ATTR::IAttribute> takeAttribute(xbattribute& item);

/// Refills `item` from `attribute` as AttributeConverter::toXB fills a new one, reusing
/// the room of its texts. A null attribute or qualified name throws NullPointerException.
void putAttribute(xbattribute& item, const RT::SmartPointer<ATTR::IAttribute>& attribute);

} // namespace XB
} // namespace MOX
