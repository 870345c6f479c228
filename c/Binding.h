// SPDX-License-Identifier: MIT
#pragma once
// Shared plumbing of the C binding: the guard that turns every exception into a recorded
// error and a negative code, typed handle lookup, and the hand-over of results.
#include <new>
#include <string>
#include <utility>

#include <mox/authn/IIdentity.h>
#include <mox/handle/HandleManager.h>
#include <mox/mox_c.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace moxc {

/// Class names under which the binding registers its objects.
constexpr const char kProductIdClass[] = "MOX::APP::IProductId";
constexpr const char kApplicationIdClass[] = "MOX::APP::IApplicationId";
constexpr const char kIdentityClass[] = "MOX::AUTHN::IIdentity";
constexpr const char kAttributeListClass[] = "MOX::Attributes::AttributeList";
constexpr const char kIdentitySetClass[] = "MOX::IdentitySet";
constexpr const char kAccountClass[] = "MOX::AUTHN::IAccountId";
constexpr const char kAuthorityClass[] = "MOX::AUTHN::IAuthorityId";
constexpr const char kVariantClass[] = "MOX::ATTR::IVariant";
constexpr const char kQualifiedNameClass[] = "MOX::ATTR::IQualifiedName";
constexpr const char kAttributeClass[] = "MOX::ATTR::IAttribute";
constexpr const char kPropertiesClass[] = "MOX::RT::IProperties";
constexpr const char kClassIdClass[] = "MOX::CLASS::IClassId";
constexpr const char kInterfaceIdClass[] = "MOX::CLASS::IInterfaceId";
constexpr const char kLoaderIdClass[] = "MOX::LoaderId";
constexpr const char kDateTimeClass[] = "MOX::TIME::IDateTime";

/// Records `e` as the calling thread's last error and returns its negative code. A short
/// form (no code) is recorded as the full form of its kind, so that a failure never reads
/// back as 0.
int recordFailure(MOX::EXCEPTIONS::MoxException& e) noexcept;
/// Records an UnexpectedException (-1040) for a failure that is not a MOX exception.
int recordUnexpected() noexcept;

/// Runs `body`; returns MOX_OK, or the negative code of whatever it threw, recorded for
/// the calling thread. Nothing escapes.
template <class Body>
int guarded(Body&& body) noexcept
{
    try {
        body();
        return MOX_OK;
    } catch (MOX::EXCEPTIONS::MoxException& e) {
        return recordFailure(e);
    } catch (...) {
        return recordUnexpected();
    }
}

/// The site an entry point reports its failures from (one per entry point, made with
/// MOX_SITE("mox_...")).
using Site = MOX::EXCEPTIONS::SourceSite;

/// `text` as a string; NULL throws NullPointerException (-1004).
std::string requireText(const char* text, const Site& site);

/// `out` itself; NULL throws NullPointerException (-1004).
template <class T>
T* requireOut(T* out, const Site& site)
{
    if (out == nullptr)
        MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::NullPointer, site);
    return out;
}

/// The object of `handle` as a T: an unknown handle throws InvalidHandleException, an
/// object of another kind ClassCastException (-1005).
template <class T>
MOX::RT::SmartPointer<T> objectOf(mox_handle handle, const Site& site)
{
    MOX::RT::SmartPointer<T> typed = MOX::HDL::HandleManager::getObject(handle).template dynamicCast<T>();
    if (typed.isNull())
        MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::ClassCast, site);
    return typed;
}

/// Registers `object` under a new handle and stores the number in `*out`.
template <class T>
void handOut(const MOX::RT::SmartPointer<T>& object, const char* classname, mox_handle* out)
{
    *out = MOX::HDL::HandleManager::newObjectHandle(classname, object).getId();
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

/// Fills the caches an identity fills on first use, so that its handle can be used from
/// any thread (the caches are filled without a lock).
void warmIdentity(const MOX::RT::SmartPointer<MOX::AUTHN::IIdentity>& identity);

/// The index itself when it is below `count`; otherwise throws InvalidArgumentException.
std::size_t requireIndex(std::size_t index, std::size_t count, const Site& site);

/// Sets an output handle to 0 (when given) before a function does its work.
inline void reset(mox_handle* out) noexcept
{
    if (out != nullptr)
        *out = 0;
}
/// Sets an output string to NULL (when given) before a function does its work.
inline void reset(char** out) noexcept
{
    if (out != nullptr)
        *out = nullptr;
}

/// Sets a numeric output to 0 (when given) before a function does its work.
template <class V>
void reset(V* out) noexcept
{
    if (out != nullptr)
        *out = V();
}

/// The body of a function that makes one object: `make()` gives it, registered under
/// `classname` in `*out`.
template <class Make>
int makeHandle(mox_handle* out, const char* classname, const Site& site, Make&& make) noexcept
{
    reset(out);
    return guarded([&] {
        mox_handle* target = requireOut(out, site);
        handOut(make(), classname, target);
    });
}

/// The body of a function that reads one text of the T behind `handle`.
template <class T, class Read>
int readText(mox_handle handle, char** out, const Site& site, Read&& read) noexcept
{
    reset(out);
    return guarded([&] {
        char** target = requireOut(out, site);
        const auto object = objectOf<T>(handle, site);
        handOut(std::string(read(*object)), target);
    });
}

/// The body of a function that reads one number (or flag) of the T behind `handle`.
template <class T, class V, class Read>
int readValue(mox_handle handle, V* out, const Site& site, Read&& read) noexcept
{
    reset(out);
    return guarded([&] {
        V* target = requireOut(out, site);
        const auto object = objectOf<T>(handle, site);
        *target = static_cast<V>(read(*object));
    });
}

/// The body of a function that changes the T behind `handle`.
template <class T, class Change>
int change(mox_handle handle, const Site& site, Change&& apply) noexcept
{
    return guarded([&] { apply(*objectOf<T>(handle, site)); });
}

} // namespace moxc
