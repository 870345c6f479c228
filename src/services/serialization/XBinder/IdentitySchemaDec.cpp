// SPDX-License-Identifier: MIT
// The identities document element: the root name the decoder expects and the encoder
// writes.
#include <mox/xb/IdentitySchema.h>

namespace MOX {
namespace XB {

identities_CC::identities_CC(XBObject& top) : DocumentElement("identities", top) {}

identities_CC::~identities_CC() = default;

} // namespace XB
} // namespace MOX
