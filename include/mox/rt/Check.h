// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Checked dereferencing of smart pointers.
#include <mox/rt/Exceptions.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace RT {

/// Throws NullPointerException (-1004) with the function "MOX::RT::checkDeref".
[[noreturn]] MOX_RT_API void throwNullPointer();
/// Throws ClassCastException (-1005) with the function "MOX::RT::checkCast".
[[noreturn]] MOX_RT_API void throwClassCast();

/// Returns the object of `p`; throws NullPointerException (-1004) when `p` is null.
template <class T>
T& checkDeref(const SmartPointer<T>& p)
{
    if (p.isNull())
        throwNullPointer();
    return *p;
}

/// Returns `*p`; throws NullPointerException (-1004) when `p` is null.
template <class T>
T& checkDeref(T* p)
{
    if (p == nullptr)
        throwNullPointer();
    return *p;
}

/// Returns `p` after a cast; throws ClassCastException (-1005) when the cast gave null.
template <class T>
const SmartPointer<T>& checkCast(const SmartPointer<T>& p)
{
    if (p.isNull())
        throwClassCast();
    return p;
}

/// Returns `p` after a cast; throws ClassCastException (-1005) when the cast gave null.
template <class T>
T* checkCast(T* p)
{
    if (p == nullptr)
        throwClassCast();
    return p;
}

} // namespace RT
} // namespace MOX
