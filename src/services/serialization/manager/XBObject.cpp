// SPDX-License-Identifier: MIT
#include <mox/xb/XBChoice.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

XBObject::~XBObject() = default;

XBChoice::~XBChoice() = default;

} // namespace XB
} // namespace MOX
