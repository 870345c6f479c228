// SPDX-License-Identifier: MIT
// The attributes document element.
#include <mox/xb/AttributesSchema.h>

namespace MOX {
namespace XB {

attributes_CC::attributes_CC(XBObject& top) : DocumentElement("attributes", top) {}

attributes_CC::~attributes_CC() = default;

} // namespace XB
} // namespace MOX
