// SPDX-License-Identifier: MIT
// Identities: the value class, its order, and the identity functions of MOX.
#include "data/authentication/IdentityImpl.h"
#include <mox/rt/Raise.h>

#include <mox/authn/IdentityFormats.h>
#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>

#include <utility>

MOX_SOURCE_FILE("data/authentication/IdentityImpl")

namespace MOX {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;

namespace AUTHN {

namespace {

bool isQel(const std::string& format) { return format == MOX_FORMAT_QEL; }

// EMAIL and UPN share the name@domain shape.
bool isAtFormat(const std::string& format) { return format == MOX_FORMAT_EMAIL || format == MOX_FORMAT_UPN; }

// Where the name part of `value` starts; npos when the format has none (or, for the
// "@" formats, no "@"). The name runs from there to the end, except in the "@" formats
// where it ends at `end`.
std::size_t nameStart(const std::string& format, const std::string& value, std::size_t& end)
{
    end = std::string::npos;
    if (isQel(format)) {
        const std::size_t slash = value.find('/');
        if (slash == std::string::npos)
            return 0;
        const std::size_t colon = value.find(':', slash);
        return colon != std::string::npos ? colon + 1 : slash + 1;
    }
    if (isAtFormat(format)) {
        end = value.find('@');
        return end == std::string::npos ? std::string::npos : 0;
    }
    return std::string::npos;
}

// The authority's format and name as the text gives them (checked by createAuthorityId).
void authorityParts(const std::string& format, const std::string& value, std::string& authorityFormat,
                    std::string& authorityName)
{
    if (isQel(format)) {
        const std::size_t slash = value.find('/');
        const std::size_t colon = value.find(':');
        if (slash == std::string::npos || colon == std::string::npos)
            return;
        authorityFormat = value.substr(0, colon);
        // A first colon after the slash belongs to the account (CORP/Group:x): the text
        // then holds no authority name at all.
        if (colon < slash)
            authorityName = value.substr(colon + 1, slash - colon - 1);
        return;
    }
    authorityFormat = MOX_FORMAT_UNKNOWN;
    if (isAtFormat(format)) {
        const std::size_t at = value.find('@');
        if (at != std::string::npos)
            authorityName = value.substr(at + 1);
    }
}

// A difference counts as none when either side is the wildcard.
int compareWithWildcard(const std::string& a, const std::string& b, const char* wildcard)
{
    const int result = a.compare(b);
    if (result != 0 && (a == wildcard || b == wildcard))
        return 0;
    return result;
}
} // namespace

IIdentity::~IIdentity() = default;

IdentityImpl::IdentityImpl(std::string format, std::string value, std::string type)
    : m_format(std::move(format)), m_value(std::move(value)), m_type(std::move(type))
{
}

IdentityImpl::~IdentityImpl() = default;

const std::string& IdentityImpl::getName() const
{
    // An empty name is never cached, so it is worked out again on each call (without
    // allocating: nothing is assigned).
    if (m_name.empty()) {
        std::size_t end;
        const std::size_t start = nameStart(m_format, m_value, end);
        if (start != std::string::npos && start < m_value.size())
            m_name.assign(m_value, start, end == std::string::npos ? std::string::npos : end - start);
    }
    return m_name;
}

const IAuthorityId& IdentityImpl::authority() const
{
    if (m_authority.isNull()) {
        std::string format;
        std::string name;
        authorityParts(m_format, m_value, format, name);
        // Assigned only after createAuthorityId succeeded: a failure caches nothing.
        m_authority = createAuthorityId(format, name);
    }
    return *m_authority;
}

const std::string& IdentityImpl::getAuthorityName() const { return authority().getName(); }

const std::string& IdentityImpl::getAuthorityFormat() const { return authority().getFormat(); }

bool IdentityImpl::isGroup() const { return isGroupAccount(m_type); }

bool IdentityImpl::isUser() const { return isUserAccount(m_type); }

bool IdentityImpl::lessThan(const IIdentity& other) const { return compareIdentities(*this, other) < 0; }

int compareIdentities(const IIdentity& a, const IIdentity& b)
{
    if (a.getValue() == b.getValue()) {
        const int byType = a.getType().compare(b.getType());
        return byType != 0 ? byType : a.getFormat().compare(b.getFormat());
    }
    int result = a.getName().compare(b.getName());
    if (result != 0)
        return result;
    result = a.getType().compare(b.getType());
    if (result != 0)
        return result;
    result = compareWithWildcard(a.getFormat(), b.getFormat(), MOX_FORMAT_QEL);
    if (result != 0)
        return result;
    result = a.getAuthorityName().compare(b.getAuthorityName());
    if (result != 0)
        return result;
    return compareWithWildcard(a.getAuthorityFormat(), b.getAuthorityFormat(), MOX_FORMAT_UNKNOWN);
}

} // namespace AUTHN

using AUTHN::IdentitySet;
using AUTHN::IdentityImpl;
using AUTHN::IIdentity;

namespace {
RT::SmartPointer<IIdentity> makeIdentity(std::string format, std::string value, std::string type)
{
    return RT::makeShared<IdentityImpl>(std::move(format), std::move(value), std::move(type));
}
} // namespace

RT::SmartPointer<IIdentity> createIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                           const RT::SmartPointer<AUTHN::IAccountId>& account)
{
    const AUTHN::IAuthorityId& authorityRef = RT::checkDeref(authority);
    const AUTHN::IAccountId& accountRef = RT::checkDeref(account);
    return makeIdentity(MOX_FORMAT_QEL, authorityRef.toString() + "/" + accountRef.toString(), accountRef.getType());
}

RT::SmartPointer<IIdentity> createUserIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                               const std::string& name)
{
    return createIdentity(authority, AUTHN::createUserAccount(name));
}

RT::SmartPointer<IIdentity> createGroupIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                                const std::string& name)
{
    return createIdentity(authority, AUTHN::createGroupAccount(name));
}

RT::SmartPointer<IIdentity> createUserIdentity(const std::string& format, const std::string& value)
{
    return makeIdentity(format, value, AUTHN::USER_ACCOUNT_TYPE);
}

RT::SmartPointer<IIdentity> createGroupIdentity(const std::string& format, const std::string& value)
{
    return makeIdentity(format, value, AUTHN::GROUP_ACCOUNT_TYPE);
}

bool isUserIdentity(const RT::SmartPointer<IIdentity>& identity)
{
    return !identity.isNull() && AUTHN::isUserAccount(identity->getType());
}

bool isGroupIdentity(const RT::SmartPointer<IIdentity>& identity)
{
    return !identity.isNull() && AUTHN::isGroupAccount(identity->getType());
}

bool containsIdentity(const RT::SmartPointer<IIdentity>& identity, const IdentitySet& set)
{
    return set.find(identity) != set.end();
}

bool containsIdentity(const IdentitySet& first, const IdentitySet& second)
{
    for (const RT::SmartPointer<IIdentity>& identity : first) {
        if (containsIdentity(identity, second))
            return true;
    }
    return false;
}

RT::SmartPointer<IIdentity> toIdentityInFormat(const RT::SmartPointer<IIdentity>& identity, const std::string& format)
{
    RT::Tracer trace("MOX::toIdentityInFormat", true);
    const IIdentity& source = RT::checkDeref(identity);
    if (format == MOX_FORMAT_QEL && source.getFormat() != MOX_FORMAT_QEL) {
        trace.printf("Identity in format %s is not convertable to MOX_FORMAT_QEL", source.getFormat().c_str());
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidInput, MOX_SITE("MOX::toIdentityInFormat"));
    }
    // Worked out for every target, QEL included: a source without a valid authority
    // is never converted.
    std::string email = source.getName() + "@" + source.getAuthorityName();
    if (format == MOX_FORMAT_QEL)
        return makeIdentity(MOX_FORMAT_QEL, source.getValue(), source.getType());
    if (format == MOX_FORMAT_EMAIL || format == MOX_FORMAT_UPN)
        return makeIdentity(format, std::move(email), source.getType());
    trace.printf("Unsupported identity format %s", format.c_str());
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidInput, MOX_SITE("MOX::toIdentityInFormat"));
}

} // namespace MOX
