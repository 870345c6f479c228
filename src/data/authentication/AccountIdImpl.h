// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/authn/IAccountId.h>

namespace MOX {
namespace AUTHN {

/// The account value: a name and a type, both non-empty and fixed at creation.
class AccountIdImpl : public IAccountId {
public:
    AccountIdImpl(std::string type, std::string name);
    ~AccountIdImpl() override;

    const std::string& getName() const override { return m_name; }
    const std::string& getType() const override { return m_type; }
    bool isGroup() const override;
    bool isUser() const override;
    bool lessThan(const IAccountId& other) const override;
    /// True when name and type are equal as texts.
    virtual bool equals(const IAccountId& other) const;

    std::string toString() const override;

private:
    std::string m_name;
    std::string m_type;
};

} // namespace AUTHN
} // namespace MOX
