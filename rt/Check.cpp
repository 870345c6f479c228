// SPDX-License-Identifier: MIT
#include <mox/rt/Check.h>
#include <mox/rt/Raise.h>

MOX_SOURCE_FILE("rt/Check")

namespace MOX {
namespace RT {

void throwNullPointer()
{
    using namespace EXCEPTIONS;
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::NullPointer, MOX_SITE("MOX::RT::checkDeref"));
}

void throwClassCast()
{
    using namespace EXCEPTIONS;
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::ClassCast, MOX_SITE("MOX::RT::checkCast"));
}

} // namespace RT
} // namespace MOX
