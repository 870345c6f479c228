// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The application object: properties, service-manager bootstrap, callbacks and log control.
#include <map>
#include <string>

#include <mox/app/ApplicationCallback.h>
#include <mox/app/IApplicationId.h>
#include <mox/app/IServiceHelper.h>
#include <mox/app/IServiceManager.h>
#include <mox/app/PasswordFunction.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace APP {

/// Event callbacks by event id, in byte-wise order of the ids (not owned).
using CallbackMap = std::map<std::string, ApplicationCallback*>;

/// The application object: one per registered application id. It holds the
/// application's properties (among them the bootstrap path "path.config"), loads the
/// service library (MOX-SM) on first demand and hands out its service manager, and keeps
/// event callbacks, a password function and two caller words.
///
/// Properties that choose the service library: "MOX_LIBRARY_FILE" (default "MOX-SM"),
/// "MOX_LIBRARY_METHOD" (entry point, default "loadServiceHelper"), "MOX_LIBRARY_PATH"
/// (first part of the search path) and "MOX_LIBRARY_ENV" (name of the environment
/// variable giving the rest, default "MOX_LIBRARY_PATH").
///
/// XML form: `<application><app-id .../><PROPERTIES>...</PROPERTIES></application>`.
class MOX_API IApplication : public virtual Object, public virtual Marshallable {
public:
    ~IApplication() override = default;
    /// The registered id this application belongs to.
    virtual RT::SmartPointer<IApplicationId> getApplicationId() const = 0;
    /// Sets "path.config" (without telling the log service).
    virtual void setBootstrapPath(const std::string& path) = 0;
    /// The value of "path.config" ("" when unset).
    virtual std::string getBootstrapPath() const = 0;
    /// True when "path.config" is non-empty.
    virtual bool hasBootstrapPath() const = 0;
    /// `resolvePath` of the property `name` (the name itself when unset).
    virtual std::string getConfigPath(const std::string& name) const = 0;
    /// The password from the password function for `word`, with the prompt
    /// "Enter keystash passphrase"; "" when there is no function or it fails.
    virtual std::string getMOXPassword(unsigned int word) = 0;
    /// Stores the password function (not owned; null removes it).
    virtual void setPasswordFunction(PasswordFunction* function) = 0;
    /// The first caller word (0 at creation).
    virtual unsigned int getUserData1() const = 0;
    /// Sets the first caller word.
    virtual void setUserData1(unsigned int value) = 0;
    /// The service manager, loading and starting the service library on first use.
    /// Needs the bootstrap path (SystemException -1088 otherwise); errors of the loader,
    /// the entry point and the helper pass through unchanged.
    virtual RT::SmartPointer<I::IServiceManager> getServiceManager() = 0;
    /// The service helper, loading the service library when none is loaded yet (without
    /// needing the bootstrap path); null when the library lacks the entry point.
    virtual RT::SmartPointer<I::IServiceHelper> getServiceHelper() = 0;
    /// Loads the service library once the bootstrap path is set; nothing when done before.
    virtual void initialize() = 0;
    /// A bare file name (no '/' or '\\') placed under the bootstrap path; other paths
    /// unchanged.
    virtual std::string resolvePath(const std::string& path) const = 0;
    /// The property `name`, or `defaultValue`.
    virtual std::string getProperty(const std::string& name, const std::string& defaultValue = std::string()) const = 0;
    /// Sets a property and, once bootstrapped with the service library loaded, passes the
    /// change to the log service; "LogService.Pause.<key>" removes
    /// "LogService.Resume.<key>" and the reverse.
    virtual void setProperty(const std::string& name, const std::string& value) = 0;
    /// Registers `callback` for `eventId`. Null throws InvalidArgumentException (-1004);
    /// an id already registered throws ObjectAlreadyExistsException (-1106).
    virtual void registerCallback(const std::string& eventId, ApplicationCallback* callback) = 0;
    /// Removes the callback of `eventId`, if any.
    virtual void unregisterCallback(const std::string& eventId) = 0;
    /// The registered event ids, in byte-wise order.
    virtual Vector<std::string> getCallbackEventIds() const = 0;
    /// A copy of the callbacks.
    virtual CallbackMap getCallbacks() const = 0;
    /// Once a service manager was obtained: drops the helper and the service manager, so
    /// that the next getServiceManager loads the library again. Otherwise nothing.
    virtual void shutdown() = 0;
    /// "MOX_LIBRARY_PATH", then ";" and the environment variable named by
    /// "MOX_LIBRARY_ENV" (either part may be missing).
    virtual std::string getLibraryPath() const = 0;
    /// The second caller word (0 at creation).
    virtual unsigned int getUserData2() const = 0;
    /// Sets the second caller word.
    virtual void setUserData2(unsigned int value) = 0;
    /// The property names, in first-set order.
    virtual Vector<std::string> getPropertyNames() const = 0;
    /// Removes a property (nothing when unset).
    virtual void removeProperty(const std::string& name) = 0;
};

} // namespace APP

/// The application of `applicationId` (NullPointerException for a null id).
MOX_API RT::SmartPointer<APP::IApplication> getApplication(const RT::SmartPointer<APP::IApplicationId>& applicationId);

/// The service manager of the application of `applicationId`; see
/// IApplication::getServiceManager.
MOX_API RT::SmartPointer<I::IServiceManager> getServiceManager(const RT::SmartPointer<APP::IApplicationId>& applicationId);

} // namespace MOX
