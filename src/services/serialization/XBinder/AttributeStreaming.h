#pragma once
// The attributes document read and written item by item: the "attribute" elements of
// the root are a streamed list (see XBStream), so a large list is never held twice (once
// as document objects, once as attributes).
#include <mox/xb/AttributesSchema.h>

#include "services/serialization/manager/XBType.h"

namespace MOX {
namespace XB {

/// The content of the root "attributes" as a streamed list of xbattribute; described
/// with the element and type names of xbattributes, so it reads and fails alike.
class xbattributes_stream : public XBStream<xbattribute> {
public:
    MOX_XB_DOCUMENT_TYPE()
    using XBStream<xbattribute>::XBStream;
};

} // namespace XB
} // namespace MOX
