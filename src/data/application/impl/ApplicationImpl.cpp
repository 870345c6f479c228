// SPDX-License-Identifier: MIT
#include "data/application/impl/ApplicationImpl.h"
#include <mox/rt/Raise.h>

#include <exception>
#include <utility>

#include <mox/rt/Check.h>
#include <mox/rt/DllManager.h>
#include <mox/rt/EnvUtils.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Library.h>
#include <mox/rt/MutexGrabber.h>
#include <mox/rt/StringUtils.h>
#include <mox/rt/Tracer.h>
#include <mox/rt/XmlUtils.h>

MOX_SOURCE_FILE("data/application/impl/ApplicationImpl")

namespace MOX {
namespace APP {

using EXCEPTIONS::ErrorCode;
using RT::SmartPointer;
using StateLock = std::lock_guard<std::mutex>;

namespace {

const char kPasswordPrompt[] = "Enter keystash passphrase";

} // namespace

const char* const ApplicationImpl::PATH_CONFIG = "path.config";
const char* const ApplicationImpl::LIBRARY_FILE = "MOX_LIBRARY_FILE";
const char* const ApplicationImpl::LIBRARY_FILE_DEFAULT = "MOX-SM";
const char* const ApplicationImpl::LIBRARY_METHOD = "MOX_LIBRARY_METHOD";
const char* const ApplicationImpl::LIBRARY_METHOD_DEFAULT = "loadServiceHelper";
const char* const ApplicationImpl::LIBRARY_PATH = "MOX_LIBRARY_PATH";
const char* const ApplicationImpl::LIBRARY_ENV = "MOX_LIBRARY_ENV";
const char* const ApplicationImpl::LIBRARY_ENV_DEFAULT = "MOX_LIBRARY_PATH";
const char* const ApplicationImpl::LOG_PAUSE = "LogService.Pause";
const char* const ApplicationImpl::LOG_RESUME = "LogService.Resume";
const char* const ApplicationImpl::ELEMENT = "application";

ApplicationImpl::ApplicationImpl(const SmartPointer<IApplicationId>& applicationId) : m_applicationId(applicationId) {}

ApplicationImpl::~ApplicationImpl()
{
    // Nobody else can reach this object any more, so no lock is taken.
    m_callbacks.clear();
    m_properties = RT::PropertiesImpl();
    m_serviceHelper = nullptr;
    m_serviceManager = nullptr;
}

// --- properties and paths ---------------------------------------------------------

std::string ApplicationImpl::getProperty(const std::string& name, const std::string& defaultValue) const
{
    StateLock lock(m_stateMutex);
    return m_properties.getProperty(name, defaultValue);
}

Vector<std::string> ApplicationImpl::getPropertyNames() const
{
    StateLock lock(m_stateMutex);
    return m_properties.getPropertyNames();
}

void ApplicationImpl::removeProperty(const std::string& name)
{
    StateLock lock(m_stateMutex);
    m_properties.removeProperty(name);
}

void ApplicationImpl::setBootstrapPath(const std::string& path)
{
    StateLock lock(m_stateMutex);
    m_properties.setProperty(PATH_CONFIG, path);
}

std::string ApplicationImpl::getBootstrapPath() const { return getProperty(PATH_CONFIG, ""); }

bool ApplicationImpl::hasBootstrapPath() const { return !getBootstrapPath().empty(); }

std::string ApplicationImpl::resolvePath(const std::string& path) const
{
    if (path.find_first_of("/\\") != std::string::npos)
        return path;
    return getBootstrapPath() + "/" + path;
}

std::string ApplicationImpl::getConfigPath(const std::string& name) const { return resolvePath(getProperty(name, name)); }

std::string ApplicationImpl::getLibraryPath() const
{
    const std::string fromProperty = getProperty(LIBRARY_PATH, "");
    const std::string variable = getProperty(LIBRARY_ENV, LIBRARY_ENV_DEFAULT);
    const std::string fromEnvironment = RT::EnvUtils::GetEnv(variable, "");
    if (fromProperty.empty())
        return fromEnvironment;
    if (!fromEnvironment.empty())
        return fromProperty + ";" + fromEnvironment;
    return fromProperty;
}

void ApplicationImpl::setProperty(const std::string& name, const std::string& value)
{
    SmartPointer<I::IServiceHelper> helper;
    {
        StateLock lock(m_stateMutex);
        m_properties.setProperty(name, value);
        helper = m_serviceHelper;
    }
    if (!hasBootstrapPath() || helper.isNull())
        return;
    SmartPointer<I::ILogService> log = helper->getLogService();
    if (log.isNull())
        return;
    if (RT::StringUtils::StartsWith(name, LOG_PAUSE)) {
        const std::string key = log->extractKey(name, LOG_PAUSE);
        removeProperty(std::string(LOG_RESUME) + "." + key);
    }
    if (RT::StringUtils::StartsWith(name, LOG_RESUME)) {
        const std::string key = log->extractKey(name, LOG_RESUME);
        removeProperty(std::string(LOG_PAUSE) + "." + key);
    }
    SmartPointer<Object> entry = log->createEntry(name, value);
    log->submit(entry);
}

// --- service library ----------------------------------------------------------------

SmartPointer<I::IServiceHelper> ApplicationImpl::currentHelper() const
{
    StateLock lock(m_stateMutex);
    return m_serviceHelper;
}

SmartPointer<I::IServiceManager> ApplicationImpl::currentManager() const
{
    StateLock lock(m_stateMutex);
    return m_serviceManager;
}

SmartPointer<I::IServiceHelper> ApplicationImpl::loadServiceLibrary()
{
    const std::string file = getProperty(LIBRARY_FILE, LIBRARY_FILE_DEFAULT);
    const std::string searchPath = getLibraryPath();
    const std::string method = getProperty(LIBRARY_METHOD, LIBRARY_METHOD_DEFAULT);
    const SmartPointer<RT::IDynamicLibrary> library = RT::DllManager::loadLibrary(RT::Library(file, searchPath));
    void* symbol = RT::checkDeref(library).getSymbol(method);
    if (symbol != nullptr) {
        const auto entryPoint = reinterpret_cast<I::LoadServiceHelperFunction>(symbol);
        SmartPointer<IApplicationId> id = getApplicationId();
        SmartPointer<I::IServiceHelper> helper(entryPoint(id));
        {
            // The previous helper (if any) goes when `helper` leaves, outside the lock.
            StateLock lock(m_stateMutex);
            m_serviceHelper.swap(helper);
        }
        helper = nullptr;
        RT::checkDeref(currentHelper()).start();
        m_initialized.store(true);
    }
    return currentHelper();
}

void ApplicationImpl::initialize()
{
    RT::MutexGrabber guard(m_mutex);
    if (m_initialized.load())
        return;
    if (!hasBootstrapPath())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::BootstrapPath, MOX_SITE("MOX::APP::ApplicationImpl::initialize"));
    loadServiceLibrary();
}

SmartPointer<I::IServiceManager> ApplicationImpl::getServiceManager()
{
    RT::MutexGrabber guard(m_mutex);
    SmartPointer<I::IServiceManager> manager = currentManager();
    if (manager.isNull()) {
        initialize();
        manager = RT::checkDeref(currentHelper()).getServiceManager();
        StateLock lock(m_stateMutex);
        m_serviceManager = manager;
    }
    return manager;
}

SmartPointer<I::IServiceHelper> ApplicationImpl::getServiceHelper()
{
    SmartPointer<I::IServiceHelper> helper = currentHelper();
    if (!helper.isNull())
        return helper;
    // The first load is guarded: a second caller waits and finds the loaded helper.
    RT::MutexGrabber guard(m_mutex);
    helper = currentHelper();
    if (helper.isNull())
        helper = loadServiceLibrary();
    return helper;
}

void ApplicationImpl::shutdown()
{
    RT::MutexGrabber guard(m_mutex);
    SmartPointer<I::IServiceHelper> helper;
    SmartPointer<I::IServiceManager> manager;
    {
        StateLock lock(m_stateMutex);
        if (m_serviceManager.isNull())
            return;
        helper.swap(m_serviceHelper);
        manager.swap(m_serviceManager);
    }
    helper = nullptr;
    manager = nullptr;
    m_initialized.store(false);
}

// --- password, callbacks --------------------------------------------------------------

std::string ApplicationImpl::getMOXPassword(unsigned int word)
{
    RT::Tracer tracer("ApplicationImpl::getMOXPassword", false);
    std::string password;
    PasswordFunction* function = m_passwordFunction.load();
    if (function == nullptr)
        return password;
    try {
        password = function->getPassword(word, kPasswordPrompt);
    } catch (const std::exception& e) {
        tracer.printf("Caught exception from password function: %s", e.what());
    } catch (...) {
        tracer.printf("Caught unexpected exception from password function");
    }
    return password;
}

void ApplicationImpl::registerCallback(const std::string& eventId, ApplicationCallback* callback)
{
    RT::Tracer tracer("ApplicationImpl::registerCallback", false);
    static const char kFunction[] = "MOX::APP::ApplicationImpl::registerCallback";
    RT::MutexGrabber guard(m_mutex);
    if (callback == nullptr) {
        tracer.printf("null callback for event id '%s'", eventId.c_str());
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::NullPointer, MOX_SITE(kFunction));
    }
    StateLock lock(m_stateMutex);
    if (m_callbacks.count(eventId) != 0) {
        tracer.printf("event id '%s' is already registered", eventId.c_str());
        EXCEPTIONS::raise(ErrorCode::RegistrationExists, MOX_SITE(kFunction), eventId);
    }
    m_callbacks.emplace(eventId, callback);
}

void ApplicationImpl::unregisterCallback(const std::string& eventId)
{
    RT::MutexGrabber guard(m_mutex);
    StateLock lock(m_stateMutex);
    m_callbacks.erase(eventId);
}

Vector<std::string> ApplicationImpl::getCallbackEventIds() const
{
    StateLock lock(m_stateMutex);
    Vector<std::string> ids;
    ids.reserve(m_callbacks.size());
    for (const auto& entry : m_callbacks)
        ids.push_back(entry.first);
    return ids;
}

CallbackMap ApplicationImpl::getCallbacks() const
{
    StateLock lock(m_stateMutex);
    return m_callbacks;
}

// --- XML form -------------------------------------------------------------------------

std::string ApplicationImpl::marshal() const
{
    std::string content = RT::checkDeref(getApplicationId()).toString();
    {
        StateLock lock(m_stateMutex);
        content += m_properties.marshal();
    }
    return RT::XmlUtils::ToElement(ELEMENT, content);
}

void ApplicationImpl::unmarshal(const std::string& text)
{
    const std::string element = RT::XmlUtils::GetElement(ELEMENT, text);
    const Vector<std::string> properties = RT::XmlUtils::getElements(RT::PropertiesImpl::PROPERTY, element);
    {
        StateLock lock(m_stateMutex);
        for (const std::string& property : properties)
            m_properties.assignPropertyFromXML(property);
    }
    SmartPointer<I::IServiceHelper> helper = getServiceHelper();
    RT::checkDeref(helper).loadApplication(element);
}

} // namespace APP
} // namespace MOX
