// SPDX-License-Identifier: MIT
#pragma once
// Counting global operator new and delete, for tests that bound allocations, and failing
// one of them on request. Include it from exactly one source of a test executable. Every
// form is replaced, the nothrow ones included, so that each block is freed by the form
// that matches its allocation (which the address sanitizer checks).
#include <atomic>
#include <cstdlib>
#include <new>

namespace moxtest {
/// When positive, the allocations left until one fails: the one that takes it to 0.
inline std::atomic<long> failIn{0};
/// Counts one allocation against failIn: true for the one that is to fail.
inline bool failsNow() noexcept { return failIn.load(std::memory_order_relaxed) > 0 && failIn.fetch_sub(1) == 1; }
/// Blocks allocated and freed through operator new and delete so far.
inline std::atomic<long> allocations{0}, frees{0};

/// Counts and frees a block; every delete form calls it (calling one delete form from
/// another makes gcc warn of a mismatch once it sees the malloc behind operator new).
inline void release(void* p) noexcept
{
    frees.fetch_add(p != nullptr, std::memory_order_relaxed);
    std::free(p);
}
} // namespace moxtest

void* operator new(std::size_t size)
{
    moxtest::allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = moxtest::failsNow() ? nullptr : std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    moxtest::allocations.fetch_add(1, std::memory_order_relaxed);
    return moxtest::failsNow() ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { moxtest::release(p); }
void operator delete[](void* p) noexcept { moxtest::release(p); }
void operator delete(void* p, std::size_t) noexcept { moxtest::release(p); }
void operator delete[](void* p, std::size_t) noexcept { moxtest::release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { moxtest::release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { moxtest::release(p); }
