#include <mox/rt/Check.h>

namespace MOX {
namespace RT {

void throwNullPointer()
{
    using namespace EXCEPTIONS;
    MOX_THROW(NullPointerException(ErrorCode::NullPointer), "rt/Check", "MOX::RT::checkDeref");
}

void throwClassCast()
{
    using namespace EXCEPTIONS;
    MOX_THROW(ClassCastException(ErrorCode::ClassCast), "rt/Check", "MOX::RT::checkCast");
}

} // namespace RT
} // namespace MOX
