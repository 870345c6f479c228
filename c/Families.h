// SPDX-License-Identifier: MIT
#pragma once
// The value families a handle can stand for. One trait per family gives the class name
// its handles are registered under (which typed lookup checks) and its order (which
// mox_compare uses); nothing else in the binding names a family's class.
#include <string>
#include <tuple>

#include <mox/app/IApplicationId.h>
#include <mox/app/IProductId.h>
#include <mox/attr/IAttribute.h>
#include <mox/attr/IQualifiedName.h>
#include <mox/attr/IVariant.h>
#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IIdentity.h>
#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/class/LoaderId.h>
#include <mox/time/IDateTime.h>

namespace moxc {

/// The trait of the family T: `name` (its handles' class name) and, for families with an
/// order, `order(a, b)` (negative, 0 or positive). Defined once per family below, or next
/// to the binding's own holder types.
template <class T>
struct Family;

/// The order of families whose interface declares `lessThan`.
template <class T>
struct LessThanOrder {
    /// Negative, 0 or positive as `a` sorts before, with or after `b`.
    static int order(const T& a, const T& b) { return a.lessThan(b) ? -1 : (b.lessThan(a) ? 1 : 0); }
};

/// Loader ids declare no order of their own: by name, then file.
struct LoaderOrder {
    /// Negative, 0 or positive as `a` sorts before, with or after `b`.
    static int order(const MOX::LoaderId& a, const MOX::LoaderId& b)
    {
        const int byName = a.getName().compare(b.getName());
        const int result = byName != 0 ? byName : a.getFile().compare(b.getFile());
        return result < 0 ? -1 : (result > 0 ? 1 : 0);
    }
};

/// A family without an order.
struct NoOrder {};

} // namespace moxc

/// Declares the trait of one family: its handles' class name is the type's qualified
/// name as written here.
#define MOX_C_FAMILY(Type, Order)                  \
    template <>                                    \
    struct moxc::Family<Type> : Order {            \
        static constexpr const char* name = #Type; \
    }
/// Declares the trait of a family ordered by its interface's `lessThan`.
#define MOX_C_ORDERED_FAMILY(Type) MOX_C_FAMILY(Type, moxc::LessThanOrder<Type>)

MOX_C_ORDERED_FAMILY(MOX::APP::IProductId);
MOX_C_ORDERED_FAMILY(MOX::APP::IApplicationId);
MOX_C_ORDERED_FAMILY(MOX::AUTHN::IIdentity);
MOX_C_ORDERED_FAMILY(MOX::AUTHN::IAccountId);
MOX_C_ORDERED_FAMILY(MOX::AUTHN::IAuthorityId);
MOX_C_ORDERED_FAMILY(MOX::ATTR::IVariant);
MOX_C_ORDERED_FAMILY(MOX::ATTR::IQualifiedName);
MOX_C_ORDERED_FAMILY(MOX::ATTR::IAttribute);
MOX_C_ORDERED_FAMILY(MOX::CLASS::IClassId);
MOX_C_ORDERED_FAMILY(MOX::CLASS::IInterfaceId);
MOX_C_FAMILY(MOX::LoaderId, moxc::LoaderOrder);
MOX_C_ORDERED_FAMILY(MOX::TIME::IDateTime);

namespace moxc {

/// The families that have an order, which mox_compare walks.
using OrderedFamilies =
    std::tuple<MOX::APP::IProductId, MOX::APP::IApplicationId, MOX::AUTHN::IIdentity, MOX::AUTHN::IAccountId,
               MOX::AUTHN::IAuthorityId, MOX::ATTR::IVariant, MOX::ATTR::IQualifiedName, MOX::ATTR::IAttribute,
               MOX::CLASS::IClassId, MOX::CLASS::IInterfaceId, MOX::LoaderId, MOX::TIME::IDateTime>;

} // namespace moxc
