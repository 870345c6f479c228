// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The runtime's property store.
#include <string>
#include <unordered_map>

#include <mox/rt/Collections.h>
#include <mox/rt/IProperties.h>
#include <mox/rt/Marshallable.h>

namespace MOX {
namespace RT {

/// The runtime's property store, marshallable as XML.
///
/// `marshal` writes `<PROPERTIES><PROPERTY name="n" value="v"/>...</PROPERTIES>` in name
/// order of first setting; `unmarshal` replaces the contents with the PROPERTY elements of
/// the text (the outer element's name is not checked). Not synchronised: the owner guards it.
class MOX_RT_API PropertiesImpl : public virtual I::IProperties, public virtual Marshallable {
public:
    /// The element name of one property: "PROPERTY".
    static const char* const PROPERTY;
    /// The element name `marshal` writes around the properties: "PROPERTIES".
    static const char* const PROPERTIES;

    PropertiesImpl();
    ~PropertiesImpl() override;
    /// Copies the properties and their order.
    PropertiesImpl(const PropertiesImpl&);
    /// Replaces the properties and their order with those of the other store.
    PropertiesImpl& operator=(const PropertiesImpl&);

    Vector<std::string> getPropertyNames() const override;
    std::string getProperty(const std::string& name, const std::string& defaultValue = std::string()) const override;
    void setProperty(const std::string& name, const std::string& value) override;
    void removeProperty(const std::string& name) override;

    /// Sets the property described by one PROPERTY element (`name` and `value`
    /// attributes; a missing value is the empty text). An element without a name is
    /// ignored.
    void assignPropertyFromXML(const std::string& element);
    /// One PROPERTY element for `name` and `value`.
    static std::string propertyToXML(const std::string& name, const std::string& value);

    /// See the class description.
    void unmarshal(const std::string& text) override;
    /// See the class description.
    std::string marshal() const override;

private:
    Vector<std::string> m_order;
    std::unordered_map<std::string, std::string> m_values;
};

} // namespace RT
} // namespace MOX
