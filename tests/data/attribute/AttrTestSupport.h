// SPDX-License-Identifier: MIT
#pragma once
// Helpers shared by the attribute tests: a foreign attribute and an attribute builder.
#include <initializer_list>
#include <string>
#include <vector>

#include <mox/attr/Attributes.h>

#include "MoxTestSupport.h"

namespace attrtest {

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::RT::SmartPointer;
using Values = std::vector<std::string>;

/// An attribute of another implementation than the library's: fixed name and values,
/// and a clone that is not an attribute.
class ForeignAttribute : public IAttribute {
public:
    ForeignAttribute(const std::string& name, std::initializer_list<std::string> values)
        : m_name(MOX::Attributes::createQualifiedName(name, "", "")), m_values(values)
    {
    }
    SmartPointer<IQualifiedName> getQualifiedName() const override { return m_name; }
    std::string getName() const override { return m_name->getName(); }
    std::string getFormat() const override { return m_name->getFormat(); }
    MOX::Vector<std::string> getValues() const override { return m_values; }
    void setValues(const MOX::Vector<std::string>&) override {}
    std::string getValue(std::size_t index) const override { return m_values.at(index); }
    std::size_t getValueCount() const override { return m_values.size(); }
    void addValue(const std::string&) override {}
    void removeValue(const std::string&) override {}
    void removeAllValues() override {}
    bool containsValue(const std::string&) const override { return false; }
    bool matches(const SmartPointer<IAttribute>&) const override { return false; }
    bool hasValues() const override { return !m_values.empty(); }
    bool lessThan(const IAttribute&) const override { return false; }
    std::string toString() const override { return m_name->toString(); }
    MOX::Cloneable* clone() const override { return new NotAnAttribute(); }

private:
    struct NotAnAttribute : MOX::Cloneable {
        Cloneable* clone() const override { return new NotAnAttribute(); }
    };
    SmartPointer<IQualifiedName> m_name;
    MOX::Vector<std::string> m_values;
};

/// An attribute with a qualified name of its own and `values`.
inline SmartPointer<IAttribute> attr(const std::string& name, std::initializer_list<std::string> values = {},
                                     const std::string& format = std::string(), const std::string& scope = std::string())
{
    SmartPointer<IAttribute> attribute =
        MOX::Attributes::createAttribute(MOX::Attributes::createQualifiedName(name, format, scope));
    for (const std::string& value : values)
        attribute->addValue(value);
    return attribute;
}

} // namespace attrtest
