// SPDX-License-Identifier: MIT
// The properties document element: the root name is the caller's.
#include <mox/xb/PropertiesSchema.h>

namespace MOX {
namespace XB {

properties_CC::properties_CC(const std::string& rootName, xb_properties& top) : DocumentElement(rootName, top) {}

properties_CC::~properties_CC() = default;

} // namespace XB
} // namespace MOX
