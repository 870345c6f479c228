// SPDX-License-Identifier: MIT
#pragma once
#include <atomic>
#include <mutex>
#include <string>

#include <mox/app/IApplication.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/PropertiesImpl.h>

namespace MOX {
namespace APP {

/// The application object of one registered application id.
///
/// Locking. The application mutex (recursive) is held by getServiceManager (the whole
/// library load included), shutdown, registerCallback and unregisterCallback, and also
/// around every load of the service library: initialize and the loading path of
/// getServiceHelper take it too, so two threads never load and start two helpers. A
/// second, private state mutex is held only for the moment it takes to read or change
/// the properties, the callbacks and the helper and manager pointers; it is never held
/// while calling the service library or the password function. So the property
/// operations, setProperty and the readers do not wait for a library load, and
/// concurrent callers never see a half-changed store or pointer.
class ApplicationImpl : public virtual IApplication {
public:
    /// Property keys and defaults.
    static const char* const PATH_CONFIG;           ///< "path.config"
    static const char* const LIBRARY_FILE;          ///< "MOX_LIBRARY_FILE"
    static const char* const LIBRARY_FILE_DEFAULT;  ///< "MOX-SM"
    static const char* const LIBRARY_METHOD;        ///< "MOX_LIBRARY_METHOD"
    static const char* const LIBRARY_METHOD_DEFAULT;///< "loadServiceHelper"
    static const char* const LIBRARY_PATH;          ///< "MOX_LIBRARY_PATH"
    static const char* const LIBRARY_ENV;           ///< "MOX_LIBRARY_ENV"
    static const char* const LIBRARY_ENV_DEFAULT;   ///< "MOX_LIBRARY_PATH"
    static const char* const LOG_PAUSE;             ///< "LogService.Pause"
    static const char* const LOG_RESUME;            ///< "LogService.Resume"
    /// The element name of the XML form: "application".
    static const char* const ELEMENT;

    /// An application bound to `applicationId`, which must be the registry's entry (it is
    /// referred to, not owned, and must outlive this object).
    explicit ApplicationImpl(const RT::SmartPointer<IApplicationId>& applicationId);
    /// Drops the callbacks and properties, then the service helper, then the service
    /// manager, without calling the helper.
    ~ApplicationImpl() override;
    ApplicationImpl(const ApplicationImpl&) = delete;
    ApplicationImpl& operator=(const ApplicationImpl&) = delete;

    RT::SmartPointer<IApplicationId> getApplicationId() const override { return m_applicationId; }
    void setBootstrapPath(const std::string& path) override;
    std::string getBootstrapPath() const override;
    bool hasBootstrapPath() const override;
    std::string getConfigPath(const std::string& name) const override;
    std::string getMOXPassword(unsigned int word) override;
    void setPasswordFunction(PasswordFunction* function) override { m_passwordFunction.store(function); }
    unsigned int getUserData1() const override { return m_userData1.load(); }
    void setUserData1(unsigned int value) override { m_userData1.store(value); }
    RT::SmartPointer<I::IServiceManager> getServiceManager() override;
    RT::SmartPointer<I::IServiceHelper> getServiceHelper() override;
    void initialize() override;
    std::string resolvePath(const std::string& path) const override;
    std::string getProperty(const std::string& name, const std::string& defaultValue = std::string()) const override;
    void setProperty(const std::string& name, const std::string& value) override;
    void registerCallback(const std::string& eventId, ApplicationCallback* callback) override;
    void unregisterCallback(const std::string& eventId) override;
    Vector<std::string> getCallbackEventIds() const override;
    CallbackMap getCallbacks() const override;
    void shutdown() override;
    std::string getLibraryPath() const override;
    unsigned int getUserData2() const override { return m_userData2.load(); }
    void setUserData2(unsigned int value) override { m_userData2.store(value); }
    Vector<std::string> getPropertyNames() const override;
    void removeProperty(const std::string& name) override;

    std::string marshal() const override;
    void unmarshal(const std::string& text) override;
    std::string toString() const override { return marshal(); }

    /// True once the service library's entry point has run (and until shutdown).
    bool isInitialized() const noexcept { return m_initialized.load(); }

private:
    /// Loads the service library, calls its entry point and starts the helper; the
    /// caller holds the application mutex. Returns the current helper.
    RT::SmartPointer<I::IServiceHelper> loadServiceLibrary();
    RT::SmartPointer<I::IServiceHelper> currentHelper() const;
    RT::SmartPointer<I::IServiceManager> currentManager() const;

    std::atomic<bool> m_initialized{false};
    const RT::SmartPointer<IApplicationId>& m_applicationId;
    RT::SmartPointer<I::IServiceManager> m_serviceManager;
    std::atomic<PasswordFunction*> m_passwordFunction{nullptr};
    std::atomic<unsigned int> m_userData2{0};
    std::atomic<unsigned int> m_userData1{0};
    CallbackMap m_callbacks;
    mutable RT::Mutex m_mutex;
    RT::SmartPointer<I::IServiceHelper> m_serviceHelper;
    RT::PropertiesImpl m_properties;
    mutable std::mutex m_stateMutex;
};

} // namespace APP
} // namespace MOX
