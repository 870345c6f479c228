// SPDX-License-Identifier: MIT
#include <string>
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <mox/rt/DllManager.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>

using MOX::Vector;
using MOX::EXCEPTIONS::SystemException;
using MOX::RT::DllManager;
using MOX::RT::Library;
using MOX::RT::Tracer;

namespace {

const std::string kDir = MOX_TEST_PLUGIN_DIR;
const std::string kPrivate = MOX_TEST_PRIVATE_DIR;  // where the sample service library is built
using ProbeFunction = int (*)(int);

// Captures the trace lines of the loader's scope for one test.
struct TraceCapture {
    TraceCapture()
    {
        Tracer::setSink([this](const std::string& scope, const std::string& line) {
            if (scope == "DllManager::loadLibrary")
                lines.push_back(line);
        });
    }
    ~TraceCapture() { Tracer::setSink({}); }
    std::vector<std::string> lines;
};

std::string loadFailure(const Library& library)
{
    try {
        DllManager::loadLibrary(library);
    } catch (const SystemException& e) {
        return e.getMessage();
    }
    ADD_FAILURE() << "loaded " << library.getName();
    return "";
}

} // namespace

TEST(DllManager, SearchOrderSkipsEmptyOrRelativeEntries)
{
    TraceCapture trace;
    auto lib = DllManager::loadLibrary(Library("moxrtprobe", ":relative/dir;;/nonexistent-mox-dir:" + kDir));
    EXPECT_EQ(lib->getPath(), kDir + "/libmoxrtprobe.so");
    EXPECT_EQ(lib->getTried(), Vector<std::string>({"/nonexistent-mox-dir/moxrtprobe", "/nonexistent-mox-dir/libmoxrtprobe.so",
                                                    "/nonexistent-mox-dir/moxrtprobe.so", kDir + "/moxrtprobe",
                                                    kDir + "/libmoxrtprobe.so"}));
    ASSERT_EQ(trace.lines.size(), 4u);  // the leading empty entry, the relative one, the empty one, the load
    EXPECT_NE(trace.lines[1].find("relative/dir"), std::string::npos) << trace.lines[1];
    EXPECT_EQ(trace.lines[3], "loaded \"moxrtprobe\" from " + kDir + "/libmoxrtprobe.so");

    EXPECT_EQ(DllManager::loadLibrary(Library("moxrtplain", kDir + "/"))->getPath(), kDir + "/moxrtplain.so");
    // A name with a '/' is that path only; the system's own search takes bare names.
    EXPECT_EQ(DllManager::loadLibrary(Library(kDir + "/libmoxrtprobe.so", "/nonexistent-mox-dir"))->getTried(),
              Vector<std::string>({kDir + "/libmoxrtprobe.so"}));
    EXPECT_EQ(DllManager::loadLibrary(Library("libc.so.6", ""))->getTried(),
              Vector<std::string>({kPrivate + "/libc.so.6", kPrivate + "/liblibc.so.6.so", kPrivate + "/libc.so.6.so",
                                   "libc.so.6"}));
}

TEST(DllManager, SymbolsStayLocalToTheirLibraryWhichStaysLoadedAfterItsObjectEnds)
{
    EXPECT_EQ(DllManager::loadLibrary(Library("moxrtprobe", kDir))->getSymbol("mox_rt_no_such_symbol"), nullptr);
    ProbeFunction probe = reinterpret_cast<ProbeFunction>(
        DllManager::loadLibrary(Library("moxrtprobe", kDir))->getSymbol("mox_rt_probe_twice_plus_one"));
    ASSERT_NE(probe, nullptr);
    EXPECT_NE(::dlopen((kDir + "/libmoxrtprobe.so").c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    EXPECT_EQ(probe(-3), -5);
    EXPECT_EQ(::dlsym(RTLD_DEFAULT, "mox_rt_probe_twice_plus_one"), nullptr); // RTLD_LOCAL
}

TEST(DllManager, FailureNamesLibraryEveryPlaceAndLoaderError)
{
    TraceCapture trace;
    try {
        DllManager::loadLibrary(Library("mox-no-such-lib", "/nonexistent-a;/nonexistent-b/"));
        FAIL() << "loaded a missing library";
    } catch (const SystemException& e) {
        EXPECT_EQ(e.getCode(), DllManager::LoadFailed);
        EXPECT_EQ(e.getFunction(), "MOX::RT::DllManager::loadLibrary");
        const std::string& m = e.getMessage();
        // The search path, the private folder of service libraries, the system's search.
        const std::string tried = "\"mox-no-such-lib\"", expected =
            "tried: /nonexistent-a/mox-no-such-lib, /nonexistent-a/libmox-no-such-lib.so, "
            "/nonexistent-a/mox-no-such-lib.so, /nonexistent-b/mox-no-such-lib, /nonexistent-b/libmox-no-such-lib.so, "
            "/nonexistent-b/mox-no-such-lib.so, " + kPrivate + "/mox-no-such-lib, " + kPrivate +
            "/libmox-no-such-lib.so, " + kPrivate + "/mox-no-such-lib.so, mox-no-such-lib, libmox-no-such-lib.so, "
            "mox-no-such-lib.so; loader error: ";
        for (const std::string& part : {tried, expected, std::string("cannot open shared object file")})
            EXPECT_NE(m.find(part), std::string::npos) << part << "\n" << m;
        ASSERT_FALSE(trace.lines.empty());
        EXPECT_EQ(trace.lines.back(), m);  // traced before the throw
    }
    EXPECT_NE(loadFailure(Library("", kDir)).find("empty"), std::string::npos);
    const std::string byPath = loadFailure(Library(kDir + "/libmoxrtnothere.so", kDir));
    EXPECT_NE(byPath.find("tried: " + kDir + "/libmoxrtnothere.so; loader error:"), std::string::npos) << byPath;

    // The existing file's error is reported, though the system search was still tried.
    const std::string broken = loadFailure(Library("moxrtbroken", kDir));
    for (const std::string& part : {"loader error: " + kDir + "/libmoxrtbroken.so",
                                    std::string("mox_rt_symbol_nobody_defines"), std::string(", moxrtbroken.so;")})
        EXPECT_NE(broken.find(part), std::string::npos) << part << "\n" << broken;
}

TEST(DllManager, DefaultSearchHasThePrivateFolderButNeverTheCurrentDirectory)
{
    EXPECT_EQ(DllManager::loadLibrary(Library("MOX-SM", ""))->getPath(), kPrivate + "/libMOX-SM.so");
    // From the plugins' parent directory the relative entries would find the library, and
    // from the plugins' directory the bare name would, if the current directory were used.
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir((kDir + "/..").c_str()), 0);
    const std::string relative = loadFailure(Library("moxrtprobe", "plugins;./plugins"));
    EXPECT_EQ(::chdir(kDir.c_str()), 0);
    const std::string bare = loadFailure(Library("moxrtprobe", ""));
    EXPECT_EQ(::chdir(previous), 0);
    EXPECT_EQ(relative.find("plugins/"), std::string::npos) << relative; // neither entry was tried
    EXPECT_NE(bare.find("loader error: "), std::string::npos) << bare;
}
