// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Intrusive reference-counted smart pointers.
#include <cstddef>
#include <type_traits>
#include <utility>

#include <mox/rt/SharedCount.h>

namespace MOX {
namespace RT {

template <class T>
class SmartPointer;

/// A new T built from `args`, owned by the returned pointer; the object and its counter
/// share one heap block (one allocation), which the last release frees.
template <class T, class... A>
SmartPointer<T> makeShared(A&&... args);

/// As makeShared, with `tail` bytes for the object's own use in the same block, right
/// after it (see SharedCount::createWithTail).
template <class T, class... A>
SmartPointer<T> makeSharedWithTail(std::size_t tail, A&&... args);

/// Reference-counted pointer with an atomic counter.
///
/// `makeShared` builds an object together with its counter in one block; adopting a raw
/// pointer gives it a counter of its own, starting at 1 (a null pointer gets no counter).
/// Copies share object and counter; the last release destroys the object (as the type
/// makeShared built, or through the pointer type it was adopted as, so through a virtual
/// destructor when that is a base) and frees its memory once. Copying and releasing are thread safe; the
/// pointed-to object itself is not synchronised.
///
/// Order and equality follow the pointee's `lessThan`: `a < b` only if both are
/// non-null, they do not share a counter and `a->lessThan(*b)`; `a == b` is false if
/// either is null, true if they share a counter, and otherwise true when neither is
/// before the other. This is the order `MOX::Set<SmartPointer<T>>` uses.
template <class T>
class SmartPointer {
public:
    /// The type pointed to.
    using element_type = T;

    /// A null pointer.
    SmartPointer() noexcept = default;
    /// A null pointer.
    SmartPointer(std::nullptr_t) noexcept {}

    /// Adopts `p` (which must come from `new`); the counter starts at 1.
    explicit SmartPointer(T* p) : m_ptr(p), m_count(SharedCount::adopt(p)) {}

    /// Shares the object and counter of `other`.
    SmartPointer(const SmartPointer& other) noexcept : m_ptr(other.m_ptr), m_count(other.m_count) { acquire(); }

    /// Takes over `other`, leaving it null.
    SmartPointer(SmartPointer&& other) noexcept : m_ptr(other.m_ptr), m_count(other.m_count)
    {
        other.m_ptr = nullptr;
        other.m_count = nullptr;
    }

    /// Shares object and counter with a pointer to a type that converts to T.
    template <class U, class = std::enable_if_t<std::is_convertible<U*, T*>::value>>
    SmartPointer(const SmartPointer<U>& other) noexcept : m_ptr(other.m_ptr), m_count(other.m_count)
    {
        acquire();
    }

    /// Takes over a pointer to a type that converts to T.
    template <class U, class = std::enable_if_t<std::is_convertible<U*, T*>::value>>
    SmartPointer(SmartPointer<U>&& other) noexcept : m_ptr(other.m_ptr), m_count(other.m_count)
    {
        other.m_ptr = nullptr;
        other.m_count = nullptr;
    }

    ~SmartPointer() { release(); }

    /// Shares `other`'s object; assigning a pointer that already shares the counter does nothing.
    SmartPointer& operator=(const SmartPointer& other) noexcept
    {
        if (m_count != other.m_count || m_ptr != other.m_ptr) {
            SmartPointer tmp(other);
            swap(tmp);
        }
        return *this;
    }

    /// Takes over `other`.
    SmartPointer& operator=(SmartPointer&& other) noexcept
    {
        if (this != &other) {
            SmartPointer tmp(std::move(other));
            swap(tmp);
        }
        return *this;
    }

    /// Releases the current object (if any).
    SmartPointer& operator=(std::nullptr_t) noexcept
    {
        SmartPointer tmp;
        swap(tmp);
        return *this;
    }

    /// Drops the current object and adopts `p`.
    void reset(T* p = nullptr)
    {
        SmartPointer tmp(p);
        swap(tmp);
    }

    /// Exchanges the objects of two pointers.
    void swap(SmartPointer& other) noexcept
    {
        std::swap(m_ptr, other.m_ptr);
        std::swap(m_count, other.m_count);
    }

    /// The raw object pointer (null for a null SmartPointer).
    T* get() const noexcept { return m_ptr; }
    /// Member access; the caller checks for null (see checkDeref).
    T* operator->() const noexcept { return m_ptr; }
    /// Dereference; the caller checks for null (see checkDeref).
    T& operator*() const noexcept { return *m_ptr; }
    /// True for a null pointer.
    bool isNull() const noexcept { return m_ptr == nullptr; }
    /// True for a non-null pointer.
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    /// The current number of owners (0 for null); for diagnostics and tests.
    long useCount() const noexcept { return m_count ? m_count->owners() : 0; }

    /// True when both pointers share one counter (so one object).
    template <class U>
    bool sharesWith(const SmartPointer<U>& other) const noexcept
    {
        return m_count != nullptr && m_count == other.m_count;
    }

    /// A shared pointer of another type to the same object, or null when the object is
    /// not a U.
    template <class U>
    SmartPointer<U> dynamicCast() const noexcept
    {
        SmartPointer<U> result;
        if (U* p = dynamic_cast<U*>(m_ptr)) {
            result.m_ptr = p;
            result.m_count = m_count;
            result.acquire();
        }
        return result;
    }

    /// Order of the runtime: both non-null, different counters and `lessThan`.
    template <class U>
    bool operator<(const SmartPointer<U>& other) const
    {
        if (!m_ptr || !other.m_ptr || m_count == other.m_count)
            return false;
        return m_ptr->lessThan(*other.m_ptr);
    }

    /// Equality of the runtime: see the class description.
    template <class U>
    bool operator==(const SmartPointer<U>& other) const
    {
        if (!m_ptr || !other.m_ptr)
            return false;
        if (m_count == other.m_count)
            return true;
        return !(*this < other) && !(other < *this);
    }

    /// Negation of operator==.
    template <class U>
    bool operator!=(const SmartPointer<U>& other) const
    {
        return !(*this == other);
    }

private:
    template <class U>
    friend class SmartPointer;

    template <class U, class... A>
    friend SmartPointer<U> makeShared(A&&... args);
    template <class U, class... A>
    friend SmartPointer<U> makeSharedWithTail(std::size_t tail, A&&... args);

    void acquire() noexcept
    {
        if (m_count)
            m_count->acquire();
    }

    void release() noexcept
    {
        if (m_count)
            m_count->release();
        m_ptr = nullptr;
        m_count = nullptr;
    }

    T* m_ptr = nullptr;
    SharedCount* m_count = nullptr;
};

template <class T, class... A>
SmartPointer<T> makeShared(A&&... args)
{
    SmartPointer<T> result;
    result.m_count = SharedCount::create(result.m_ptr, std::forward<A>(args)...);
    return result;
}

template <class T, class... A>
SmartPointer<T> makeSharedWithTail(std::size_t tail, A&&... args)
{
    SmartPointer<T> result;
    result.m_count = SharedCount::createWithTail(result.m_ptr, tail, std::forward<A>(args)...);
    return result;
}

} // namespace RT
} // namespace MOX
