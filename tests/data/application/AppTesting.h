#pragma once
// Shared helpers of the application tests.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <mox/app.h>

#include "MoxTestSupport.h"

namespace apptest {

/// "Name code function" of the platform exception `f` throws, or what went wrong.
inline std::string failure(const std::function<void()>& f)
{
    try {
        f();
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return e.getName() + " " + std::to_string(e.getCode()) + " " + e.getFunction();
    } catch (...) {
        return "other exception";
    }
    return "nothing thrown";
}

#ifdef MOX_TEST_PLUGIN_DIR
/// The directory of the test service library (libMOX-SM-test.so).
inline std::string testPluginDir() { return MOX_TEST_PLUGIN_DIR; }

/// Calls `symbol` of the test service library with `args`, when the library is loaded.
template <class... A>
void callPlugin(const char* symbol, A... args)
{
    const std::string file = testPluginDir() + "/libMOX-SM-test.so";
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
        if (void* f = dlsym(handle, symbol))
            reinterpret_cast<void (*)(A...)>(f)(args...);
        dlclose(handle);
    }
}

/// The events the test service library recorded in this process so far (none when not loaded).
inline std::vector<std::string> pluginEvents()
{
    std::vector<std::string> events;
    callPlugin("testsm_events", &events);
    return events;
}

/// Forgets the events recorded so far.
inline void clearPluginEvents() { callPlugin("testsm_clear"); }

/// How many recorded events start with `prefix`.
inline int countEvents(const std::string& prefix)
{
    int n = 0;
    for (const std::string& e : pluginEvents())
        n += e.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

/// Points `app` at the test service library.
inline void useTestPlugin(MOX::APP::IApplication& app, const std::string& mode = std::string())
{
    app.setProperty("MOX_LIBRARY_FILE", "MOX-SM-test");
    app.setProperty("MOX_LIBRARY_PATH", testPluginDir());
    if (!mode.empty())
        app.setProperty("TestSM.Mode", mode);
}
#endif

#ifdef MOX_SM_SAMPLE_DIR
/// The directory of the sample service library (libMOX-SM.so).
inline std::string sampleDir() { return MOX_SM_SAMPLE_DIR; }
#endif

/// A registered application id with a product of its own.
inline MOX::RT::SmartPointer<MOX::APP::IApplicationId> newApplicationId(const std::string& name)
{
    return MOX::createApplicationId(MOX::createProductId("TestProduct", "unit", "1.0"), name);
}

/// The texts of the entries a log service kept.
inline std::vector<std::string> entryTexts(const MOX::I::ILogService& log)
{
    std::vector<std::string> texts;
    for (const auto& entry : log.getEntries())
        texts.push_back(entry->toString());
    return texts;
}

} // namespace apptest
