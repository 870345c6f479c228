// SPDX-License-Identifier: MIT
// Accounts: the value class and the account factories of MOX::AUTHN.
#include "data/authentication/AccountIdImpl.h"
#include <mox/rt/Raise.h>

#include <mox/authn/IdentityFormats.h>
#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>

#include <utility>

MOX_SOURCE_FILE("data/authentication/AccountIdImpl")

namespace MOX {
namespace AUTHN {

using EXCEPTIONS::InvalidArgumentException;

namespace {

// Accounts are rejected with the short form: the location is the whole report.
RT::SmartPointer<IAccountId> makeAccount(const std::string& type, const std::string& name, const char* function)
{
    if (type.empty() || name.empty())
        EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE(function));
    return RT::makeShared<AccountIdImpl>(type, name);
}
} // namespace

IAccountId::~IAccountId() = default;

AccountIdImpl::AccountIdImpl(std::string type, std::string name) : m_name(std::move(name)), m_type(std::move(type))
{
}

AccountIdImpl::~AccountIdImpl() = default;

bool AccountIdImpl::isGroup() const { return isGroupAccount(m_type); }

bool AccountIdImpl::isUser() const { return isUserAccount(m_type); }

bool AccountIdImpl::lessThan(const IAccountId& other) const
{
    const int byType = m_type.compare(other.getType());
    if (byType != 0)
        return byType < 0;
    return m_name.compare(other.getName()) < 0;
}

bool AccountIdImpl::equals(const IAccountId& other) const
{
    return m_name == other.getName() && m_type == other.getType();
}

std::string AccountIdImpl::toString() const
{
    if (isGroup())
        return std::string(GROUP_ACCOUNT_TYPE) + ":" + m_name;
    return m_name;
}

RT::SmartPointer<IAccountId> createAccountId(const std::string& type, const std::string& name)
{
    return makeAccount(type, name, "MOX::AUTHN::createAccountId");
}

RT::SmartPointer<IAccountId> createUserAccount(const std::string& name)
{
    return makeAccount(USER_ACCOUNT_TYPE, name, "MOX::AUTHN::createUserAccount");
}

RT::SmartPointer<IAccountId> createGroupAccount(const std::string& name)
{
    return makeAccount(GROUP_ACCOUNT_TYPE, name, "MOX::AUTHN::createGroupAccount");
}

bool isUserAccount(const std::string& type) { return type == USER_ACCOUNT_TYPE; }

bool isGroupAccount(const std::string& type) { return type == GROUP_ACCOUNT_TYPE; }

bool isUserAccount(const RT::SmartPointer<IAccountId>& account)
{
    return isUserAccount(RT::checkDeref(account).getType());
}

bool isGroupAccount(const RT::SmartPointer<IAccountId>& account)
{
    return isGroupAccount(RT::checkDeref(account).getType());
}

} // namespace AUTHN
} // namespace MOX
