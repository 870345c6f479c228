// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/app/IApplication.h>
#include <mox/app/IApplicationId.h>

namespace MOX {
namespace APP {

/// The application id value. The registry binds the application object once, when it
/// registers the id (`bindApplication`); the binding is never cleared.
class ApplicationIdImpl : public virtual IApplicationId {
public:
    /// No product, empty name (filled by `unmarshal`).
    ApplicationIdImpl() = default;
    ApplicationIdImpl(RT::SmartPointer<IProductId> product, std::string name);
    ~ApplicationIdImpl() override;

    const std::string& getName() const override { return m_name; }
    RT::SmartPointer<IProductId> getProductId() const override { return m_product; }
    RT::SmartPointer<IApplication> getApplication() const override { return m_application; }
    bool lessThan(const IApplicationId& other) const override;
    void unmarshal(const std::string& text) override;
    std::string marshal() const override;
    std::string toString() const override { return marshal(); }

    /// Binds the application object (called by the registry, under its mutex, before the
    /// id is handed out).
    void bindApplication(RT::SmartPointer<IApplication> application) { m_application = std::move(application); }

    /// The element name of the XML form: "app-id".
    static const char* const ELEMENT;

private:
    RT::SmartPointer<IApplication> m_application;
    RT::SmartPointer<IProductId> m_product;
    std::string m_name;
};

} // namespace APP
} // namespace MOX
