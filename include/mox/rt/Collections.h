// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The ordered list and ordered set of the platform.
#include <functional>
#include <set>
#include <vector>

namespace MOX {

/// Ordered list: exactly `std::vector`.
template <class T, class A = std::allocator<T>>
using Vector = std::vector<T, A>;

/// Ordered set of unique elements: exactly `std::set`. Inserting an element equivalent to
/// one already held keeps the first one. For `Set<SmartPointer<T>>` the order is the
/// smart-pointer order (the pointees' `lessThan`).
template <class T, class C = std::less<T>, class A = std::allocator<T>>
using Set = std::set<T, C, A>;

} // namespace MOX
