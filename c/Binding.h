// SPDX-License-Identifier: MIT
#pragma once
// Shared plumbing of the C binding: the guard that turns every exception into a recorded
// error and a negative code, typed handle lookup, and the hand-over of results.
#include <cstddef>
#include <cstdlib>
#include <string>
#include <utility>

#include <mox/handle/HandleManager.h>
#include <mox/mox_c.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

#include "Families.h"

namespace moxc {

/// One call of an entry point: the site it reports every failure from (made with
/// MOX_SITE("mox_...")), the texts it was given and the rule they must follow. A failure
/// that carries no detail of its own is explained from them. The texts are the caller's,
/// only pointed to: they live for the whole call.
class Call : public MOX::EXCEPTIONS::SourceSite {
public:
    /// A call reported from `site`.
    Call(const MOX::EXCEPTIONS::SourceSite& site) noexcept : SourceSite(site) {} // NOLINT: converts MOX_SITE
    /// Remembers that `field` was given as `value` (the last few are kept).
    void note(const char* field, const char* value) const noexcept;
    /// Remembers a value that is not the caller's text (a number, a value read from an
    /// object) as a copy.
    void keep(const char* field, std::string value) const;
    /// Sets what the texts given must be, for the explanation of a failure.
    void rule(const char* text) const noexcept { m_rule = text; }
    /// What was wrong, for a failure whose own detail is empty: the texts given and the
    /// rule, else the library function that refused them.
    std::string explain(const MOX::EXCEPTIONS::MoxException& e) const;

private:
    static constexpr std::size_t kFields = 4;
    mutable const char* m_fields[kFields] = {};
    mutable const char* m_values[kFields] = {};
    mutable std::string m_kept[kFields];
    mutable std::size_t m_noted = 0;
    mutable const char* m_rule = nullptr;
};

/// The binding's entry points take their call as a site.
using Site = Call;

/// Records `e` as the calling thread's last error, reported from the entry point `call`
/// with a detail, and returns its negative code. A short form (no code) is recorded as the
/// full form of its class's code, so that a failure never reads back as 0.
int recordFailure(const MOX::EXCEPTIONS::MoxException& e, const Call& call) noexcept;
/// Records an UnexpectedException (-1040) for a failure that is not a MOX exception.
int recordUnexpected(const char* what, const Call& call) noexcept;

/// Runs `body`; returns MOX_OK, or the negative code of whatever it threw, recorded for
/// the calling thread as a failure of `call`. Nothing escapes.
template <class Body>
int guarded(const Call& call, Body&& body) noexcept
{
    try {
        body();
        return MOX_OK;
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return recordFailure(e, call);
    } catch (const std::exception& e) {
        return recordUnexpected(e.what(), call);
    } catch (...) {
        return recordUnexpected("a failure that is not an exception", call);
    }
}

/// `text` as a string, noted as the argument `field`; NULL throws NullPointerException
/// (-1004) naming the field.
std::string requireText(const char* text, const char* field, const Site& site);

/// Throws NullPointerException (-1004) naming the argument `field`.
[[noreturn]] void nullArgument(const char* field, const Site& site);

/// `out` itself; NULL throws NullPointerException (-1004) naming the argument `field`.
template <class T>
T* requireOut(T* out, const char* field, const Site& site)
{
    if (out == nullptr)
        nullArgument(field, site);
    return out;
}

/// Throws InvalidHandleException (-1039) saying that `handle` is not open.
[[noreturn]] void notOpen(mox_handle handle, const Site& site);

/// The class name `handle` is registered under; throws InvalidHandleException (-1039)
/// when it is not open. The text lives in the handle's record: like any use of a handle,
/// this must not race with closing the same handle on another thread.
const char* requireOpen(mox_handle handle, const Site& site);

/// Checks that `handle` is open and registered as a `family`: else throws
/// InvalidHandleException (-1039) or ClassCastException (-1005) saying what it is.
void requireFamily(mox_handle handle, const char* family, const Site& site);

/// The object of `handle` as a T of its family (see Family).
template <class T>
MOX::RT::SmartPointer<T> objectOf(mox_handle handle, const Site& site)
{
    requireFamily(handle, Family<T>::name, site);
    return MOX::HDL::HandleManager::getObject(handle).template dynamicCast<T>();
}

/// Registers `object` under a new handle of the family T and stores the number in `*out`.
template <class T, class U>
void handOut(const MOX::RT::SmartPointer<U>& object, mox_handle* out)
{
    *out = MOX::HDL::HandleManager::newObjectHandle(Family<T>::name, object).getId();
}

/// Lets a handle stand for a value that is not an Object (a set, a list, a property
/// store): holds the value and gives the document `Write` makes of it as its text form.
template <class T, class Write>
class HeldValue : public MOX::Object {
public:
    HeldValue() = default;
    /// Holds `value`.
    explicit HeldValue(T value) : m_value(std::move(value)) {}
    /// The value's document.
    std::string toString() const override { return Write()(m_value); }
    /// The held value.
    T& value() noexcept { return m_value; }

private:
    T m_value;
};

/// Stores a caller-owned copy of `text` in `*out`.
void handOut(const std::string& text, char** out);

/// Texts handed out at once: one mox_free-able block of zero-terminated texts, one after
/// another, its size in bytes and the number of texts.
class TextBlock {
public:
    /// Appends one text (up to its first zero byte, as C reads it).
    void add(const std::string& text);
    /// Hands the block to the caller: `*texts` (NULL when empty), `*count`, `*bytes` when
    /// not NULL.
    void handOut(char** texts, std::size_t* count, std::size_t* bytes) const;

private:
    std::string m_bytes;
    std::size_t m_count = 0;
};

/// Registers each object of `objects` under a new handle of the family T and hands out
/// the array of their numbers (mox_free-able, NULL when empty) and its length. When one
/// fails, those already made are closed again.
template <class T, class Range>
void handOutAll(const Range& objects, mox_handle** out, std::size_t* count, const Site& site);

/// Fills the caches an identity fills on first use, so that its handle can be used from
/// any thread (the caches are filled without a lock).
void warmIdentity(const MOX::RT::SmartPointer<MOX::AUTHN::IIdentity>& identity);

/// The index itself when it is below `count`; otherwise throws InvalidArgumentException.
std::size_t requireIndex(std::size_t index, std::size_t count, const Site& site);

/// Sets an output to its empty value (when given) before a function does its work.
template <class V>
void reset(V* out) noexcept
{
    if (out != nullptr)
        *out = V();
}

/// The body of a function that makes one object of the family T: `make()` gives it.
template <class T, class Make>
int makeHandle(mox_handle* out, const Site& site, Make&& make) noexcept
{
    reset(out);
    return guarded(site, [&] {
        mox_handle* target = requireOut(out, "out", site);
        handOut<T>(make(), target);
    });
}

/// The body of a function that reads one text of the T behind `handle`.
template <class T, class Read>
int readText(mox_handle handle, char** out, const Site& site, Read&& read) noexcept
{
    reset(out);
    return guarded(site, [&] {
        char** target = requireOut(out, "out", site);
        const auto object = objectOf<T>(handle, site);
        handOut(std::string(read(*object)), target);
    });
}

/// The body of a function that reads one number (or flag) of the T behind `handle`.
template <class T, class V, class Read>
int readValue(mox_handle handle, V* out, const Site& site, Read&& read) noexcept
{
    reset(out);
    return guarded(site, [&] {
        V* target = requireOut(out, "out", site);
        const auto object = objectOf<T>(handle, site);
        *target = static_cast<V>(read(*object));
    });
}

/// The body of a function that changes the T behind `handle`.
template <class T, class Change>
int change(mox_handle handle, const Site& site, Change&& apply) noexcept
{
    return guarded(site, [&] { apply(*objectOf<T>(handle, site)); });
}

/// The body of a function that hands out texts at once: `fill(block)` adds them.
template <class Fill>
int handOutTexts(char** texts, std::size_t* count, std::size_t* bytes, const Site& site, Fill&& fill) noexcept
{
    reset(texts);
    reset(count);
    reset(bytes);
    return guarded(site, [&] {
        requireOut(texts, "texts", site);
        requireOut(count, "count", site);
        TextBlock block;
        fill(block);
        block.handOut(texts, count, bytes);
    });
}

/// The body of a function that hands out texts of the T behind `handle` at once:
/// `collect(object, block)` adds them.
template <class T, class Collect>
int readTexts(mox_handle handle, char** texts, std::size_t* count, std::size_t* bytes, const Site& site,
              Collect&& collect) noexcept
{
    return handOutTexts(texts, count, bytes, site,
                        [&](TextBlock& block) { collect(*objectOf<T>(handle, site), block); });
}

/// The body of a function that hands out new handles of the family T to every element
/// of the collection `elements(object)` of the C behind `handle`.
template <class T, class C, class Elements>
int readHandles(mox_handle handle, mox_handle** handles, std::size_t* count, const Site& site,
                Elements&& elements) noexcept
{
    reset(handles);
    reset(count);
    return guarded(site, [&] {
        requireOut(handles, "handles", site);
        requireOut(count, "count", site);
        const auto& all = elements(*objectOf<C>(handle, site));
        handOutAll<T>(all, handles, count, site);
    });
}

/// Closes handles already handed out when a later step fails.
void closeAll(const mox_handle* handles, std::size_t count) noexcept;

/// Allocates the array of `count` handles that handOutAll fills (calloc, mox_free-able).
mox_handle* handleArray(std::size_t count, const Site& site);

template <class T, class Range>
void handOutAll(const Range& objects, mox_handle** out, std::size_t* count, const Site& site)
{
    const std::size_t size = objects.size();
    if (size == 0)
        return;
    mox_handle* array = handleArray(size, site);
    std::size_t made = 0;
    try {
        for (const auto& object : objects) {
            handOut<T>(object, &array[made]);
            ++made;
        }
    } catch (...) {
        closeAll(array, made);
        std::free(array);
        throw;
    }
    *out = array;
    *count = size;
}

} // namespace moxc
