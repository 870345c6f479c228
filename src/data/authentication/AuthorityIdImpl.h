// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/authn/IAuthorityId.h>

namespace MOX {
namespace AUTHN {

/// The authority value: format and name fixed at creation, plus the caller's attachment.
class AuthorityIdImpl : public IAuthorityId {
public:
    AuthorityIdImpl(std::string format, std::string name);
    ~AuthorityIdImpl() override;

    const std::string& getFormat() const override { return m_format; }
    const std::string& getName() const override { return m_name; }
    const RT::SmartPointer<Object>& getAttachment() const override { return m_attachment; }
    void setAttachment(const RT::SmartPointer<Object>& value) override;
    bool lessThan(const IAuthorityId& other) const override;
    /// True when format and name are equal as texts.
    virtual bool equals(const IAuthorityId& other) const;

    std::string toString() const override;

private:
    std::string m_format;
    std::string m_name;
    RT::SmartPointer<Object> m_attachment;
};

} // namespace AUTHN
} // namespace MOX
