// SPDX-License-Identifier: MIT
#pragma once
// Shared helpers of the application tests.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <mox/app.h>

#include "MoxTestSupport.h"

namespace apptest {

/// Calls `symbol` of the test service library (libMOX-SM-test.so) with `args`, when it is loaded.
template <class... A>
void callPlugin(const char* symbol, A... args)
{
    if (void* handle = dlopen(MOX_TEST_PLUGIN_DIR "/libMOX-SM-test.so", RTLD_NOW | RTLD_NOLOAD)) {
        if (void* f = dlsym(handle, symbol))
            reinterpret_cast<void (*)(A...)>(f)(args...);
        dlclose(handle);
    }
}

/// How many events the test service library recorded so far start with `prefix`; all
/// of them, in order, in `all` when given.
inline int countEvents(const std::string& prefix, std::vector<std::string>* all = nullptr)
{
    std::vector<std::string> events;
    callPlugin("testsm_events", &events);
    int n = 0;
    for (const std::string& e : events)
        n += e.rfind(prefix, 0) == 0 ? 1 : 0;
    if (all != nullptr)
        *all = events;
    return n;
}

/// Points `app` at the test service library.
inline void useTestPlugin(MOX::APP::IApplication& app, const std::string& mode = std::string())
{
    app.setProperty("MOX_LIBRARY_FILE", "MOX-SM-test");
    app.setProperty("MOX_LIBRARY_PATH", MOX_TEST_PLUGIN_DIR);
    if (!mode.empty())
        app.setProperty("TestSM.Mode", mode);
}

/// A registered application id with a product of its own.
inline MOX::RT::SmartPointer<MOX::APP::IApplicationId> newApplicationId(const std::string& name)
{
    return MOX::createApplicationId(MOX::createProductId("TestProduct", "unit", "1.0"), name);
}

} // namespace apptest
