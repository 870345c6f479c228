// SPDX-License-Identifier: MIT
// The one order function of the C binding, over every family that has an order.
#include "Binding.h"

#include <cstring>
#include <tuple>
#include <utility>

MOX_SOURCE_FILE("c/CompareBinding")

using namespace moxc;

namespace {

// True (and the order in `order`) when `family` is T's: both handles are then T's.
template <class T>
bool orderAs(const char* family, mox_handle first, mox_handle second, const Site& site, int& order)
{
    if (std::strcmp(family, Family<T>::name) != 0)
        return false;
    order = Family<T>::order(*objectOf<T>(first, site), *objectOf<T>(second, site));
    return true;
}

// Orders two handles of `family` by the first ordered family that it is.
template <std::size_t... I>
bool orderAny(const char* family, mox_handle first, mox_handle second, const Site& site, int& order,
              std::index_sequence<I...>)
{
    return (orderAs<std::tuple_element_t<I, OrderedFamilies>>(family, first, second, site, order) || ...);
}

} // namespace

extern "C" {

int mox_compare(mox_handle first, mox_handle second, int* order)
{
    const Site site = MOX_SITE("mox_compare");
    reset(order);
    return guarded(site, [&] {
        int* target = requireOut(order, "order", site);
        const char* family = requireOpen(first, site);
        requireOpen(second, site);
        // Typed lookup of the second handle refuses one of another family.
        const auto sequence = std::make_index_sequence<std::tuple_size<OrderedFamilies>::value>();
        if (!orderAny(family, first, second, site, *target, sequence))
            MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::ClassCast, site,
                                   std::string("a ") + family + " has no order");
    });
}

} // extern "C"
