#pragma once
// Shared helpers of the application tests.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <mox/app.h>

namespace apptest {

/// Runs `f` and returns the exception of class E it throws; records a failure (and
/// returns a default E) when it throws nothing or something else.
template <class E, class F>
E expectThrow(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return E();
    } catch (...) {
        ADD_FAILURE() << "unexpected non-standard exception";
        return E();
    }
    ADD_FAILURE() << "no exception thrown";
    return E();
}

/// Checks the full form of a platform exception.
inline void expectFullForm(const MOX::EXCEPTIONS::MoxException& e, const char* name, int code, const char* message,
                           const char* function)
{
    EXPECT_EQ(e.getName(), name);
    EXPECT_EQ(e.getCode(), code);
    EXPECT_EQ(e.getFacility(), "MOX");
    EXPECT_EQ(e.getKey(), "code");
    EXPECT_EQ(e.getMessage(), message);
    EXPECT_EQ(e.getFunction(), function);
    EXPECT_GT(e.getLine(), 0);
    EXPECT_FALSE(e.getFile().empty());
}

constexpr const char* kInvalidArguments = "The arguments specified in the operation were invalid";
constexpr const char* kNullPointer = "A NULL pointer was encountered during the operation";
constexpr const char* kBootstrapPath = "The bootstrap path must be assigned prior to performing this operation";

#ifdef MOX_TEST_PLUGIN_DIR
/// The directory of the test service library (libMOX-SM-test.so).
inline std::string testPluginDir() { return MOX_TEST_PLUGIN_DIR; }

/// The events the test service library recorded in this process so far.
inline std::vector<std::string> pluginEvents()
{
    std::vector<std::string> events;
    const std::string file = testPluginDir() + "/libMOX-SM-test.so";
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return events; // not loaded: nothing happened
    using Reader = void (*)(std::vector<std::string>*);
    if (auto reader = reinterpret_cast<Reader>(dlsym(handle, "testsm_events")))
        reader(&events);
    dlclose(handle);
    return events;
}

/// Forgets the events recorded so far, when the test service library is loaded.
inline void clearPluginEvents()
{
    const std::string file = testPluginDir() + "/libMOX-SM-test.so";
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
        if (auto clear = reinterpret_cast<void (*)()>(dlsym(handle, "testsm_clear")))
            clear();
        dlclose(handle);
    }
}

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
