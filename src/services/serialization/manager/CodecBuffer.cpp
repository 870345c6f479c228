// SPDX-License-Identifier: MIT
#include <mox/xb/CodecBuffer.h>

namespace MOX {
namespace XB {

CodecBuffer::~CodecBuffer() = default;

} // namespace XB
} // namespace MOX
