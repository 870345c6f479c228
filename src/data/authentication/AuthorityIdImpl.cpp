// SPDX-License-Identifier: MIT
// Authorities: the value class and createAuthorityId with its leading-backslash rule.
#include "data/authentication/AuthorityIdImpl.h"
#include <mox/rt/Raise.h>

#include <mox/rt/Exceptions.h>

#include <utility>

MOX_SOURCE_FILE("data/authentication/AuthorityIdImpl")

namespace MOX {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;

namespace {

// Domain names may arrive in the \\DOMAIN form of a network path: a leading backslash
// costs the first two characters. A backslash anywhere else is not a name we can vouch
// for. Only the first backslash is looked at.
std::string stripLeadingDoubleSlash(const std::string& name)
{
    const std::size_t slash = name.find('\\');
    if (slash == std::string::npos)
        return name;
    if (slash != 0)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("`anonymous-namespace'::stripLeadingDoubleSlash"));
    return name.size() > 2 ? name.substr(2) : std::string();
}
} // namespace

namespace AUTHN {

IAuthorityId::~IAuthorityId() = default;

AuthorityIdImpl::AuthorityIdImpl(std::string format, std::string name)
    : m_format(std::move(format)), m_name(std::move(name))
{
}

AuthorityIdImpl::~AuthorityIdImpl() = default;

void AuthorityIdImpl::setAttachment(const RT::SmartPointer<Object>& value) { m_attachment = value; }

bool AuthorityIdImpl::lessThan(const IAuthorityId& other) const
{
    const int byFormat = m_format.compare(other.getFormat());
    if (byFormat != 0)
        return byFormat < 0;
    return m_name.compare(other.getName()) < 0;
}

bool AuthorityIdImpl::equals(const IAuthorityId& other) const
{
    return m_format == other.getFormat() && m_name == other.getName();
}

std::string AuthorityIdImpl::toString() const { return m_format + ":" + m_name; }

} // namespace AUTHN

RT::SmartPointer<AUTHN::IAuthorityId> createAuthorityId(const std::string& format, const std::string& name)
{
    if (format.empty() || name.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::createAuthorityId"));
    return RT::makeShared<AUTHN::AuthorityIdImpl>(format, stripLeadingDoubleSlash(name));
}

} // namespace MOX
