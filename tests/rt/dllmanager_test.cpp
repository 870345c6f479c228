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
using MOX::RT::DynamicLibraryImpl;
using MOX::RT::Library;
using MOX::RT::SmartPointer;
using MOX::RT::Tracer;

namespace {

const std::string kDir = MOX_TEST_PLUGIN_DIR;

// Captures the trace lines of the loader's scope for one test.
class TraceCapture {
public:
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

SystemException loadFailure(const Library& library)
{
    try {
        DllManager::loadLibrary(library);
    } catch (const SystemException& e) {
        return e;
    }
    ADD_FAILURE() << "loaded " << library.getName();
    return SystemException();
}

using ProbeFunction = int (*)(int);

} // namespace

TEST(DllManager, SearchPathSkipsEmptyAndRelativeEntriesAndFindsLibPrefixedName)
{
    TraceCapture trace;
    const SmartPointer<DynamicLibraryImpl> lib =
        DllManager::loadLibrary(Library("moxrtprobe", ":relative/dir;;/nonexistent-mox-dir:" + kDir));
    ASSERT_FALSE(lib.isNull());
    EXPECT_EQ(lib->getPath(), kDir + "/libmoxrtprobe.so");
    EXPECT_EQ(lib->getTried(), Vector<std::string>({"/nonexistent-mox-dir/moxrtprobe", "/nonexistent-mox-dir/libmoxrtprobe.so",
                                                    "/nonexistent-mox-dir/moxrtprobe.so", kDir + "/moxrtprobe",
                                                    kDir + "/libmoxrtprobe.so"}));
    EXPECT_EQ(lib->toString(), "DynamicLibrary(" + kDir + "/libmoxrtprobe.so)");
    // One line per skipped entry: the leading empty one, the relative one, the empty one.
    ASSERT_EQ(trace.lines.size(), 3u);
    EXPECT_NE(trace.lines[1].find("relative/dir"), std::string::npos) << trace.lines[1];

    auto* probe = reinterpret_cast<ProbeFunction>(lib->getSymbol("mox_rt_probe_twice_plus_one"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe(20), 41);
    EXPECT_STREQ(static_cast<const char*>(lib->getSymbol("mox_rt_probe_name")), "lib-prefixed");
    EXPECT_EQ(lib->getSymbol("mox_rt_no_such_symbol"), nullptr);
    EXPECT_EQ(lib->getSymbol(""), nullptr);
    // RTLD_LOCAL: the library's symbols do not join the global scope.
    EXPECT_EQ(::dlsym(RTLD_DEFAULT, "mox_rt_probe_twice_plus_one"), nullptr);
}

TEST(DllManager, TriesBareNameSuffixedNameAndPathNames)
{
    const SmartPointer<DynamicLibraryImpl> plain = DllManager::loadLibrary(Library("moxrtplain", kDir + "/"));
    EXPECT_EQ(plain->getPath(), kDir + "/moxrtplain.so");
    EXPECT_EQ(plain->getTried().size(), 3u);
    EXPECT_STREQ(static_cast<const char*>(plain->getSymbol("mox_rt_probe_name")), "suffixed");

    // A name with a '/' is that path only.
    const SmartPointer<DynamicLibraryImpl> byPath =
        DllManager::loadLibrary(Library(kDir + "/libmoxrtprobe.so", "/nonexistent-mox-dir"));
    EXPECT_EQ(byPath->getTried(), Vector<std::string>({kDir + "/libmoxrtprobe.so"}));
    const SystemException e = loadFailure(Library(kDir + "/libmoxrtnothere.so", kDir));
    EXPECT_NE(e.getMessage().find("tried: " + kDir + "/libmoxrtnothere.so; loader error:"), std::string::npos)
        << e.getMessage();

    // Then the system's own search, by the bare names.
    const SmartPointer<DynamicLibraryImpl> libc = DllManager::loadLibrary(Library("libc.so.6", ""));
    EXPECT_EQ(libc->getTried(), Vector<std::string>({"libc.so.6"}));
    EXPECT_NE(libc->getSymbol("getpid"), nullptr);
}

TEST(DllManager, LibraryStaysLoadedAfterItsObjectEnds)
{
    ProbeFunction probe = nullptr;
    {
        const SmartPointer<DynamicLibraryImpl> lib = DllManager::loadLibrary(Library("moxrtprobe", kDir));
        probe = reinterpret_cast<ProbeFunction>(lib->getSymbol("mox_rt_probe_twice_plus_one"));
    }
    ASSERT_NE(probe, nullptr);
    EXPECT_NE(::dlopen((kDir + "/libmoxrtprobe.so").c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    EXPECT_EQ(probe(-3), -5);
}

TEST(DllManager, RelativeEntriesNeverLoadFromTheCurrentDirectory)
{
    // From the plugins' parent directory "plugins" would find the library, if it were used.
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir((kDir + "/..").c_str()), 0);
    TraceCapture trace;
    const SystemException e = loadFailure(Library("moxrtprobe", "plugins;./plugins"));
    EXPECT_EQ(::chdir(previous), 0);
    EXPECT_EQ(e.getMessage().find("plugins/"), std::string::npos) << e.getMessage();
    ASSERT_GE(trace.lines.size(), 2u);
    EXPECT_NE(trace.lines[0].find("\"plugins\""), std::string::npos) << trace.lines[0];
    EXPECT_NE(trace.lines[1].find("\"./plugins\""), std::string::npos) << trace.lines[1];
}

TEST(DllManager, FailureNamesLibraryEveryPlaceAndLoaderError)
{
    TraceCapture trace;
    const SystemException e = loadFailure(Library("mox-no-such-lib", "/nonexistent-a;/nonexistent-b/"));
    EXPECT_EQ(e.getCode(), DllManager::LoadFailed);
    EXPECT_LT(e.getCode(), 0);
    EXPECT_EQ(e.getFacility(), "MOX");
    EXPECT_EQ(e.getKey(), "code");
    EXPECT_EQ(e.getName(), "SystemException");
    EXPECT_EQ(e.getFunction(), "MOX::RT::DllManager::loadLibrary");
    const std::string& m = e.getMessage();
    EXPECT_NE(m.find("\"mox-no-such-lib\""), std::string::npos) << m;
    const std::string expected = "tried: /nonexistent-a/mox-no-such-lib, /nonexistent-a/libmox-no-such-lib.so, "
                                 "/nonexistent-a/mox-no-such-lib.so, /nonexistent-b/mox-no-such-lib, "
                                 "/nonexistent-b/libmox-no-such-lib.so, /nonexistent-b/mox-no-such-lib.so, "
                                 "mox-no-such-lib, libmox-no-such-lib.so, mox-no-such-lib.so; loader error: ";
    EXPECT_NE(m.find(expected), std::string::npos) << m;
    EXPECT_NE(m.find("cannot open shared object file"), std::string::npos) << m;
    EXPECT_NE(std::string(e.what()).find(expected), std::string::npos);
    // The failure is traced before the throw.
    ASSERT_FALSE(trace.lines.empty());
    EXPECT_EQ(trace.lines.back(), m);

    const SystemException empty = loadFailure(Library("", kDir));
    EXPECT_NE(empty.getMessage().find("empty"), std::string::npos) << empty.getMessage();
}

TEST(DllManager, ReportsWhyAnExistingFileWouldNotLoad)
{
    const SystemException e = loadFailure(Library("moxrtbroken", kDir));
    const std::string& m = e.getMessage();
    // The interesting error is the existing file's, though later candidates failed too.
    EXPECT_NE(m.find("loader error: " + kDir + "/libmoxrtbroken.so"), std::string::npos) << m;
    EXPECT_NE(m.find("mox_rt_symbol_nobody_defines"), std::string::npos) << m;
    EXPECT_NE(m.find(", moxrtbroken.so;"), std::string::npos) << m;  // the system search was still tried
}
