// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/app/IProductId.h>

namespace MOX {
namespace APP {

/// The product id value: name, component and version texts.
class ProductIdImpl : public virtual IProductId {
public:
    /// All fields empty.
    ProductIdImpl() = default;
    ProductIdImpl(std::string name, std::string component, std::string version);
    ~ProductIdImpl() override;

    const std::string& getName() const override { return m_name; }
    const std::string& getComponent() const override { return m_component; }
    const std::string& getVersion() const override { return m_version; }
    bool lessThan(const IProductId& other) const override;
    bool matches(const RT::SmartPointer<IProductId>& other) const override;

    void unmarshal(const std::string& text) override;
    std::string marshal() const override;
    std::string toString() const override { return marshal(); }

    /// The element name of the XML form: "product".
    static const char* const ELEMENT;

private:
    std::string m_name;
    std::string m_component;
    std::string m_version;
};

} // namespace APP
} // namespace MOX
