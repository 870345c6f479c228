// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/attr/IAttribute.h>

namespace MOX {
namespace ATTR {

/// The library's attribute: a shared qualified name and the value texts.
class AttributeImpl : public IAttribute {
public:
    /// No values; `name` is shared (and may be null).
    explicit AttributeImpl(const RT::SmartPointer<IQualifiedName>& name);
    /// Takes over `values` (the document reader hands its texts over without a copy).
    AttributeImpl(const RT::SmartPointer<IQualifiedName>& name, Vector<std::string>&& values);
    ~AttributeImpl() override;

    RT::SmartPointer<IQualifiedName> getQualifiedName() const override;
    std::string getName() const override;
    std::string getFormat() const override;
    Vector<std::string> getValues() const override;
    void setValues(const Vector<std::string>& values) override;
    std::string getValue(std::size_t index) const override;
    std::size_t getValueCount() const override;
    void addValue(const std::string& value) override;
    void removeValue(const std::string& value) override;
    void removeAllValues() override;
    bool containsValue(const std::string& value) const override;
    bool matches(const RT::SmartPointer<IAttribute>& other) const override;
    bool hasValues() const override;
    bool lessThan(const IAttribute& other) const override;

    /// The qualified name's text form.
    std::string toString() const override;
    /// A new AttributeImpl sharing the qualified name, with a copy of the values.
    Cloneable* clone() const override;

    /// The values without a copy (for the library's own readers of this class).
    const Vector<std::string>& values() const noexcept { return valueList; }
    /// The qualified name without a copy of the smart pointer.
    const RT::SmartPointer<IQualifiedName>& name() const noexcept { return qualifiedName; }

private:
    AttributeImpl(const AttributeImpl&) = default;

    RT::SmartPointer<IQualifiedName> qualifiedName;
    Vector<std::string> valueList;
};

} // namespace ATTR
} // namespace MOX
