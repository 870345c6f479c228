// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/authn/IIdentity.h>

namespace MOX {
namespace AUTHN {

/// The identity value: format, text and type fixed at creation; the name part and the
/// authority are derived from the text on first use and cached (without a lock).
class IdentityImpl : public IIdentity {
public:
    IdentityImpl(std::string format, std::string value, std::string type);
    ~IdentityImpl() override;

    const std::string& getName() const override;
    const std::string& getType() const override { return m_type; }
    const std::string& getAuthorityName() const override;
    const std::string& getAuthorityFormat() const override;
    const std::string& getFormat() const override { return m_format; }
    const std::string& getValue() const override { return m_value; }
    bool isGroup() const override;
    bool isUser() const override;
    bool lessThan(const IIdentity& other) const override;

    std::string toString() const override { return m_value; }

    /// True once a non-empty name part has been cached.
    bool hasCachedName() const noexcept { return !m_name.empty(); }
    /// True once the authority has been derived and cached.
    bool hasCachedAuthority() const noexcept { return !m_authority.isNull(); }

private:
    const IAuthorityId& authority() const;

    std::string m_format;
    std::string m_value;
    std::string m_type;
    mutable std::string m_name;
    mutable RT::SmartPointer<IAuthorityId> m_authority;
};

/// The identity order as a three-way result (negative: `a` before `b`). Derives names
/// and authorities as needed, so it can throw the authority error.
int compareIdentities(const IIdentity& a, const IIdentity& b);

} // namespace AUTHN
} // namespace MOX
