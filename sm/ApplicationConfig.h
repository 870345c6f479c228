// SPDX-License-Identifier: MIT
#pragma once
#include <mutex>
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Object.h>
#include <mox/rt/PropertiesImpl.h>

namespace MOX {
namespace SM {

/// The sample's view of the application it serves: its name and bootstrap path as seen
/// at start, and what the last "application" element handed to the helper held.
class ApplicationConfig : public virtual Object {
public:
    explicit ApplicationConfig(std::string applicationName);
    ~ApplicationConfig() override;

    /// Records the bootstrap path seen when the services started.
    void setBootstrapPath(const std::string& path);
    /// Reads an "application" element: the name of its "app-id" and its properties.
    void load(const std::string& applicationXml);

    std::string getApplicationName() const;
    std::string getBootstrapPath() const;
    /// The "app-id" name of the last element loaded ("" before any).
    std::string getLoadedName() const;
    /// The properties of the last element loaded, in element order.
    Vector<std::string> getLoadedPropertyNames() const;
    std::string getLoadedProperty(const std::string& name) const;
    /// "ApplicationConfig(application=..., bootstrap=..., loaded=<name> with N properties)".
    std::string toString() const override;

private:
    mutable std::mutex m_mutex;
    std::string m_applicationName;
    std::string m_bootstrapPath;
    bool m_loaded = false;
    std::string m_loadedName;
    RT::PropertiesImpl m_loadedProperties;
};

} // namespace SM
} // namespace MOX
