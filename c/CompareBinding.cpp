// SPDX-License-Identifier: MIT
// The one order function of the C binding, over every family that has an order.
#include "Binding.h"

#include <mox/app/IApplicationId.h>
#include <mox/app/IProductId.h>
#include <mox/attr/IAttribute.h>
#include <mox/attr/IQualifiedName.h>
#include <mox/attr/IVariant.h>
#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/class/LoaderId.h>
#include <mox/time/IDateTime.h>

MOX_SOURCE_FILE("c/CompareBinding")

using MOX::RT::SmartPointer;
using namespace moxc;

namespace {

int sign(bool less, bool greater) { return less ? -1 : (greater ? 1 : 0); }

// True (and the order in `order`) when both objects are T's.
template <class T>
bool orderAs(const SmartPointer<MOX::Object>& first, const SmartPointer<MOX::Object>& second, int& order)
{
    const auto a = first.dynamicCast<T>();
    const auto b = second.dynamicCast<T>();
    if (a.isNull() || b.isNull())
        return false;
    order = sign(a->lessThan(*b), b->lessThan(*a));
    return true;
}

// Loader ids have no order of their own: by name, then file.
bool orderLoaders(const SmartPointer<MOX::Object>& first, const SmartPointer<MOX::Object>& second, int& order)
{
    const auto a = first.dynamicCast<MOX::LoaderId>();
    const auto b = second.dynamicCast<MOX::LoaderId>();
    if (a.isNull() || b.isNull())
        return false;
    const int byName = a->getName().compare(b->getName());
    const int result = byName != 0 ? byName : a->getFile().compare(b->getFile());
    order = sign(result < 0, result > 0);
    return true;
}

} // namespace

extern "C" {

int mox_compare(mox_handle first, mox_handle second, int* order)
{
    const Site site = MOX_SITE("mox_compare");
    reset(order);
    return guarded([&] {
        int* target = requireOut(order, site);
        const auto a = MOX::HDL::HandleManager::getObject(first);
        const auto b = MOX::HDL::HandleManager::getObject(second);
        const bool known = orderAs<MOX::AUTHN::IIdentity>(a, b, *target) ||
                           orderAs<MOX::AUTHN::IAccountId>(a, b, *target) ||
                           orderAs<MOX::AUTHN::IAuthorityId>(a, b, *target) ||
                           orderAs<MOX::ATTR::IVariant>(a, b, *target) ||
                           orderAs<MOX::ATTR::IQualifiedName>(a, b, *target) ||
                           orderAs<MOX::ATTR::IAttribute>(a, b, *target) ||
                           orderAs<MOX::CLASS::IClassId>(a, b, *target) ||
                           orderAs<MOX::CLASS::IInterfaceId>(a, b, *target) ||
                           orderAs<MOX::TIME::IDateTime>(a, b, *target) ||
                           orderAs<MOX::APP::IProductId>(a, b, *target) ||
                           orderAs<MOX::APP::IApplicationId>(a, b, *target) || orderLoaders(a, b, *target);
        if (!known)
            MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::ClassCast, site);
    });
}

} // extern "C"
