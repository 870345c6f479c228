// SPDX-License-Identifier: MIT
#include "services/handle/HandleHolder.h"

namespace MOX {
namespace HDL {

HandleHolder<const RT::SmartPointer<Object>>::HandleHolder(const std::string& classname,
                                                           const RT::SmartPointer<Object>& value)
    : Handle(classname), value(value)
{
}

// Members go before the base: the object is released, then the class name.
HandleHolder<const RT::SmartPointer<Object>>::~HandleHolder() = default;

RT::SmartPointer<Object> HandleHolder<const RT::SmartPointer<Object>>::getValue() const { return value; }

} // namespace HDL
} // namespace MOX
