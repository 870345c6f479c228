// SPDX-License-Identifier: MIT
// The class-id schema types have no document element of their own: the documents that
// embed them choose the element name and decode them with the codec's generic handlers
// (declared attributes only, -45 for a version that is not a 32-bit integer, -33 for
// any other attribute, the required one reported missing, -41 for any child). Only the
// classes' key functions live here, so their type information is emitted once.
#include <mox/xb/ClassSchema.h>

namespace MOX {
namespace XB {

xbclass_id::~xbclass_id() = default;

xbinterface_id::~xbinterface_id() = default;

xbloader_id::~xbloader_id() = default;

} // namespace XB
} // namespace MOX
