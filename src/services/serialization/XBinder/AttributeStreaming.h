// SPDX-License-Identifier: MIT
#pragma once
// The attributes document read and written item by item: the "attribute" elements of
// the root are a streamed list (see XBStream), so a large list is never held twice (once
// as document objects, once as attributes).
#include <mox/xb/AttributesSchema.h>

#include "services/serialization/manager/XBTypeBuilder.h"

namespace MOX {
namespace XB {

/// Empties `item` for the next "attribute", keeping the room of its value list.
inline void resetItem(xbattribute& item)
{
    item.name.clear();
    item.type.reset();
    item.scope.reset();
    item.value_list.clear();
}

/// The content of the root "attributes" read as a streamed list of xbattribute;
/// described with the element and type names of xbattributes, so it reads and fails alike.
class xbattributes_stream : public XBStream<xbattribute> {
public:
    MOX_XB_DOCUMENT_TYPE()
    using XBStream<xbattribute>::XBStream;
};

/// One "attribute" written straight from an attribute's own texts, which it points to
/// (null: absent): writing a list copies none of its texts. Described like xbattribute.
class xbattribute_ref : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    const std::string* name = nullptr;
    const std::string* type = nullptr;
    const std::string* scope = nullptr;
    const std::vector<std::string>* value_list = nullptr;
};

/// The content of the root "attributes" written as a streamed list of xbattribute_ref.
class xbattributes_out : public XBStream<xbattribute_ref> {
public:
    MOX_XB_DOCUMENT_TYPE()
    using XBStream<xbattribute_ref>::XBStream;
};

} // namespace XB
} // namespace MOX
