// SPDX-License-Identifier: MIT
#include "ApplicationConfig.h"

#include <utility>

#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace SM {

using Lock = std::lock_guard<std::mutex>;

ApplicationConfig::ApplicationConfig(std::string applicationName) : m_applicationName(std::move(applicationName)) {}

ApplicationConfig::~ApplicationConfig() = default;

void ApplicationConfig::setBootstrapPath(const std::string& path)
{
    Lock lock(m_mutex);
    m_bootstrapPath = path;
}

void ApplicationConfig::load(const std::string& applicationXml)
{
    const std::string element = RT::XmlUtils::GetElement("application", applicationXml);
    const std::string name = RT::XmlUtils::GetAttributeValue("name", RT::XmlUtils::GetElement("app-id", element), "");
    RT::PropertiesImpl properties;
    for (const std::string& property : RT::XmlUtils::getElements(RT::PropertiesImpl::PROPERTY, element))
        properties.assignPropertyFromXML(property);
    Lock lock(m_mutex);
    m_loaded = true;
    m_loadedName = name;
    m_loadedProperties = properties;
}

std::string ApplicationConfig::getApplicationName() const
{
    Lock lock(m_mutex);
    return m_applicationName;
}

std::string ApplicationConfig::getBootstrapPath() const
{
    Lock lock(m_mutex);
    return m_bootstrapPath;
}

std::string ApplicationConfig::getLoadedName() const
{
    Lock lock(m_mutex);
    return m_loadedName;
}

Vector<std::string> ApplicationConfig::getLoadedPropertyNames() const
{
    Lock lock(m_mutex);
    return m_loadedProperties.getPropertyNames();
}

std::string ApplicationConfig::getLoadedProperty(const std::string& name) const
{
    Lock lock(m_mutex);
    return m_loadedProperties.getProperty(name, "");
}

std::string ApplicationConfig::toString() const
{
    Lock lock(m_mutex);
    std::string text = "ApplicationConfig(application=" + m_applicationName + ", bootstrap=" + m_bootstrapPath;
    if (m_loaded)
        text += ", loaded=" + m_loadedName + " with " + std::to_string(m_loadedProperties.getPropertyNames().size()) +
                " properties";
    return text + ")";
}

} // namespace SM
} // namespace MOX
