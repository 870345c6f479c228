// SPDX-License-Identifier: MIT
#include <mox/handle/HandleId.h>
#include <mox/rt/Raise.h>

#include <limits>

#include <mox/rt/Exceptions.h>

MOX_SOURCE_FILE("services/handle/HandleId")

namespace MOX {

int HandleId::LastId = 0;
const char HandleId::TAG[] = "handle";

HandleId::HandleId()
{
    // Stop at the top of the positive range instead of overflowing: a wrapped counter
    // would hand out negative numbers and, later, numbers already in use.
    if (LastId == std::numeric_limits<int>::max())
        EXCEPTIONS::raise(EXCEPTIONS::BadAllocException(), MOX_SITE("MOX::HandleId::HandleId"));
    id = ++LastId;
}

HandleId::HandleId(const int& value) : id(value) {}

HandleId::HandleId(const HandleId& other) : Object(), id(other.id) {}

HandleId& HandleId::operator=(const HandleId& other)
{
    id = other.id;
    return *this;
}

HandleId::~HandleId() = default;

int HandleId::getId() { return id; }

int HandleId::compare(const HandleId& other) const
{
    // Wrapping subtraction done in unsigned arithmetic (defined), then read back as a
    // signed 32-bit value (two's complement, as every supported compiler defines it).
    const unsigned int diff = static_cast<unsigned int>(id) - static_cast<unsigned int>(other.id);
    return static_cast<int>(diff);
}

bool HandleId::equals(const HandleId& other) const { return id == other.id; }

std::string HandleId::toString() const { return std::string(); }

} // namespace MOX
