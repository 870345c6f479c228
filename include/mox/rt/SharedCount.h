// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The reference counter of smart pointers.
#include <atomic>
#include <cstddef>
#include <new>
#include <utility>

namespace MOX {
namespace RT {

/// The shared reference counter of a SmartPointer family.
using AtomicInt = std::atomic<long>;

/// The owner record that the SmartPointers of one object share: the atomic number of
/// owners and how to end the object when it drops to zero.
///
/// `create` builds the object in the same heap block as its record (one allocation, one
/// free); `adopt` gives an object that already exists a record of its own. Either way the
/// object is destroyed as the type it was made as, whatever base its owners see it
/// through, and its memory is freed once.
class SharedCount {
public:
    SharedCount(const SharedCount&) = delete;
    SharedCount& operator=(const SharedCount&) = delete;

    /// A record with one owner for `object`, which must come from `new`; null for null.
    /// When the record cannot be allocated, `object` is deleted and the exception passes on.
    template <class T>
    static SharedCount* adopt(T* object)
    {
        if (object == nullptr)
            return nullptr;
        try {
            return new Adopted<T>(object);
        } catch (...) {
            delete object;
            throw;
        }
    }

    /// A new T built from `args` in one block with its record (one owner); `object` is
    /// set to it. A throwing constructor frees the block and passes the exception on.
    template <class T, class... A>
    static SharedCount* create(T*& object, A&&... args)
    {
        auto* block = new Inline<T>(std::forward<A>(args)...);
        object = &block->object;
        return block;
    }

    /// As `create`, with `tail` more bytes in the same block right after the object
    /// (at `reinterpret_cast<char*>(object + 1)`), for an object that keeps its variable
    /// parts there. The constructor finds the bytes at that address and owns them.
    template <class T, class... A>
    static SharedCount* createWithTail(T*& object, std::size_t tail, A&&... args)
    {
        void* memory = ::operator new(sizeof(WithTail<T>) + tail);
        try {
            auto* block = new (memory) WithTail<T>(std::forward<A>(args)...);
            object = &block->object;
            return block;
        } catch (...) {
            ::operator delete(memory);
            throw;
        }
    }

    /// Adds an owner.
    void acquire() noexcept { m_owners.fetch_add(1, std::memory_order_relaxed); }

    /// Drops an owner; the last one destroys the object and frees its memory.
    void release() noexcept
    {
        if (m_owners.fetch_sub(1, std::memory_order_acq_rel) == 1)
            m_dispose(this);
    }

    /// The current number of owners.
    long owners() const noexcept { return m_owners.load(std::memory_order_relaxed); }

private:
    using Dispose = void (*)(SharedCount*) noexcept;

    // An adopted object and, beside it, its record.
    template <class T>
    struct Adopted;
    // The record and the object in one block.
    template <class T>
    struct Inline;
    // The record, the object and the object's tail bytes in one block.
    template <class T>
    struct WithTail;

    explicit SharedCount(Dispose dispose) noexcept : m_dispose(dispose) {}
    ~SharedCount() = default;

    AtomicInt m_owners{1};
    // A plain function rather than a virtual one: no vtable per object type in each library.
    Dispose m_dispose;
};

/// The record of an adopted object, which lives in a block of its own.
template <class T>
struct SharedCount::Adopted final : SharedCount {
    explicit Adopted(T* p) noexcept : SharedCount(&dispose), object(p) {}
    static void dispose(SharedCount* record) noexcept
    {
        auto* self = static_cast<Adopted*>(record);
        delete self->object;
        delete self;
    }
    T* object;
};

/// The record and its object in one heap block.
template <class T>
struct SharedCount::Inline final : SharedCount {
    template <class... A>
    explicit Inline(A&&... args) : SharedCount(&dispose), object(std::forward<A>(args)...)
    {
    }
    static void dispose(SharedCount* record) noexcept { delete static_cast<Inline*>(record); }
    T object;
};

/// The record, its object and the object's tail bytes in one heap block. The object is
/// the last member, so its tail starts at `&object + 1`, inside the block.
template <class T>
struct SharedCount::WithTail final : SharedCount {
    template <class... A>
    explicit WithTail(A&&... args) : SharedCount(&dispose), object(std::forward<A>(args)...)
    {
    }
    static void dispose(SharedCount* record) noexcept
    {
        auto* self = static_cast<WithTail*>(record);
        self->~WithTail();
        ::operator delete(static_cast<void*>(self));
    }
    T object;
};

} // namespace RT
} // namespace MOX
