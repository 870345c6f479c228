// SPDX-License-Identifier: MIT
// A service library for tests: records what the application does with it, and
// misbehaves on request. The behaviour is chosen by the application property
// "TestSM.Mode" when the entry point runs:
//   entry-throws    the entry point throws UnexpectedException (-1040)
//   start-throws    start throws InvalidArgumentException (-1075)
//   manager-throws  getServiceManager throws SystemException (-1040)
//   log-throws      the log service's submit throws InvalidArgumentException (-1006)
//   slow-start      start takes a while (widens race windows in concurrency tests)
// Events are kept in memory (read with testsm_events).
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <mox/app/IApplication.h>
#include <mox/app/IApplicationId.h>
#include <mox/app/IServiceHelper.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Export.h>
#include <mox/rt/Raise.h>

MOX_SOURCE_FILE("testsm")

namespace {

using MOX::Object;
using MOX::RT::SmartPointer;
namespace EX = MOX::EXCEPTIONS;

// Leaked on purpose: helpers are destroyed by the library's exit handlers, which may
// run after this library's own static destructors.
std::mutex& eventMutex() { static auto* m = new std::mutex; return *m; }
std::vector<std::string>& eventList() { static auto* v = new std::vector<std::string>; return *v; }

void record(const std::string& event)
{
    std::lock_guard<std::mutex> lock(eventMutex());
    eventList().push_back(event);
}

class TestManager : public virtual MOX::I::IServiceManager {
public:
    ~TestManager() override { record("~manager"); }
    MOX::Vector<std::string> getServiceNames() const override { return {}; }
    SmartPointer<Object> getService(const std::string&) const override { return {}; }
    std::string toString() const override { return "TestManager"; }
};

class TestEntry : public virtual Object {
public:
    explicit TestEntry(std::string text) : m_text(std::move(text)) {}
    std::string toString() const override { return m_text; }

private:
    std::string m_text;
};

class TestLog : public virtual MOX::I::ILogService {
public:
    explicit TestLog(bool throwing) : m_throwing(throwing) {}
    ~TestLog() override { record("~log"); }
    void submit(const SmartPointer<Object>& entry) override
    {
        if (m_throwing || entry.isNull())
            EX::raise(EX::ErrorCode::InvalidArguments, MOX_SITE("TestLog::submit"));
    }
    SmartPointer<Object> createEntry(const std::string& name, const std::string& value) override
    {
        return SmartPointer<Object>(new TestEntry(name + "=" + value));
    }
    std::string extractKey(const std::string& name, const std::string& prefix) override
    {
        return name.size() > prefix.size() ? name.substr(prefix.size() + 1) : std::string();
    }
    MOX::Vector<SmartPointer<Object>> getEntries() const override { return {}; }
    MOX::Vector<std::string> getPausedKeys() const override { return {}; }
    std::string toString() const override { return "TestLog"; }

private:
    bool m_throwing;
};

class TestHelper : public virtual MOX::I::IServiceHelper {
public:
    explicit TestHelper(std::string mode)
        : m_mode(std::move(mode)), m_manager(new TestManager), m_log(new TestLog(m_mode == "log-throws"))
    {
    }
    ~TestHelper() override { record("~helper managerOwners=" + std::to_string(m_manager.useCount())); }
    SmartPointer<MOX::I::IServiceManager> getServiceManager() override
    {
        if (m_mode == "manager-throws")
            EX::raise(EX::SystemException(EX::ErrorCode::Unknown), MOX_SITE("TestHelper::getServiceManager"));
        return m_manager;
    }
    SmartPointer<MOX::I::ILogService> getLogService() override { return m_log; }
    void loadApplication(const std::string& xml) override { record("loadApplication:" + xml); }
    bool start() override
    {
        record("start");
        if (m_mode == "slow-start")
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (m_mode == "start-throws")
            EX::raise(EX::ErrorCode::InvalidInput, MOX_SITE("TestHelper::start"));
        return true;
    }
    std::string toString() const override { return "TestHelper(" + m_mode + ")"; }

private:
    std::string m_mode;
    SmartPointer<TestManager> m_manager;
    SmartPointer<TestLog> m_log;
};

} // namespace

extern "C" MOX_HELPER_EXPORT MOX::I::IServiceHelper* loadServiceHelper(SmartPointer<MOX::APP::IApplicationId>& id)
{
    const std::string mode = id->getApplication()->getProperty("TestSM.Mode", "");
    record("entry " + id->getName() + (mode.empty() ? "" : " mode=" + mode));
    if (mode == "entry-throws")
        EX::raise(EX::ErrorCode::Unknown, MOX_SITE("TestSM::loadServiceHelper"));
    return new TestHelper(mode);
}

/// Copies the events recorded so far.
extern "C" MOX_HELPER_EXPORT void testsm_events(std::vector<std::string>* out)
{
    std::lock_guard<std::mutex> lock(eventMutex());
    *out = eventList();
}

/// Forgets the events recorded so far (each test starts from none).
extern "C" MOX_HELPER_EXPORT void testsm_clear()
{
    std::lock_guard<std::mutex> lock(eventMutex());
    eventList().clear();
}
