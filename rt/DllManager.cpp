// SPDX-License-Identifier: MIT
#include <mox/rt/DllManager.h>
#include <mox/rt/Raise.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include <dlfcn.h>
#include <unistd.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>

#include "DynamicLibraryImpl.h"

MOX_SOURCE_FILE("rt/DllManager")

namespace MOX {
namespace RT {

namespace {

constexpr const char kScope[] = "DllManager::loadLibrary";
constexpr const char kFunction[] = "MOX::RT::DllManager::loadLibrary";

// The file names tried for `name` in one place, in order.
Vector<std::string> fileNames(const std::string& name)
{
    return {name, "lib" + name + ".so", name + ".so"};
}

// The absolute directories of `searchPath`; the others are skipped with a trace line.
Vector<std::string> directories(const std::string& searchPath, const Tracer& tracer)
{
    Vector<std::string> result;
    if (searchPath.empty())
        return result;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = searchPath.find_first_of(";:", begin);
        const std::string entry = searchPath.substr(begin, end == std::string::npos ? end : end - begin);
        if (entry.empty())
            tracer.printf("skipping an empty search path entry");
        else if (entry[0] != '/')
            tracer.printf("skipping the relative search path entry \"%s\"", entry.c_str());
        else
            result.push_back(entry);
        if (end == std::string::npos)
            break;
        begin = end + 1;
    }
    return result;
}

// The folder of the file at `path` after resolving links; empty when unknown.
std::string realFolder(const char* path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(path ? ::realpath(path, nullptr) : nullptr, &std::free);
    const std::string file = real ? real.get() : "";
    const std::size_t slash = file.rfind('/');
    return !file.empty() && file[0] == '/' && slash != std::string::npos ? file.substr(0, slash + 1) : "";
}

// The private folder of service libraries: "mox" next to libmox-rt in <libdir> (in the
// build tree as in an installed one). A static runtime is part of the program, so the
// folder is then <libdir>/mox as seen from the program's folder; the folder installed
// to when neither can be told.
std::string pluginDirectory()
{
#if MOX_RT_SHARED
    Dl_info info{};
    const std::string folder =
        ::dladdr(reinterpret_cast<void*>(&pluginDirectory), &info) != 0 ? realFolder(info.dli_fname) : "";
    if (!folder.empty())
        return folder + MOX_PLUGIN_SUBDIR;
#else
    const std::string folder = realFolder("/proc/self/exe");
    if (!folder.empty())
        return folder + MOX_BIN_TO_LIB "/" MOX_PLUGIN_SUBDIR;
#endif
    return MOX_PLUGIN_INSTALL_DIR;
}

std::string join(const std::string& directory, const std::string& file)
{
    if (!directory.empty() && directory.back() == '/')
        return directory + file;
    return directory + '/' + file;
}

// What one failed attempt said, and whether the file was there (so its error is the
// interesting one, not "no such file").
struct Failure {
    std::string error;
    bool fileExisted = false;
};

} // namespace

SmartPointer<IDynamicLibrary> DllManager::loadLibrary(const Library& library)
{
    Tracer tracer(kScope, true);
    const std::string& name = library.getName();

    // Candidates in order: each directory's three names, then the system's search (or
    // just the name itself when it is a path).
    Vector<std::string> candidates;
    if (name.find('/') != std::string::npos) {
        candidates.push_back(name);
    } else if (!name.empty()) {
        Vector<std::string> places = directories(library.getSearchPath(), tracer);
        places.push_back(pluginDirectory());
        for (const std::string& directory : places)
            for (const std::string& file : fileNames(name))
                candidates.push_back(join(directory, file));
        for (const std::string& file : fileNames(name))
            candidates.push_back(file);
    }

    Vector<std::string> tried;
    Failure shown;
    for (const std::string& candidate : candidates) {
        tried.push_back(candidate);
        if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            tracer.printf("loaded \"%s\" from %s", name.c_str(), candidate.c_str());
            return makeShared<DynamicLibraryImpl>(handle, candidate, std::move(tried));
        }
        const char* error = ::dlerror();
        Failure failure{error ? error : "unknown error",
                        candidate.find('/') != std::string::npos && ::access(candidate.c_str(), F_OK) == 0};
        // The last error, unless an earlier file existed but would not load.
        if (!shown.fileExisted)
            shown = std::move(failure);
    }

    std::string message = "Cannot load library \"" + name + "\"";
    if (name.empty()) {
        message += ": the name is empty";
    } else {
        message += "; tried:";
        for (std::size_t i = 0; i < tried.size(); ++i)
            message += (i == 0 ? " " : ", ") + tried[i];
        message += "; loader error: " + shown.error;
    }
    tracer.printf("%s", message.c_str());
    static_assert(LoadFailed == EXCEPTIONS::RuntimeSystemError, "a load failure is a runtime system error");
    EXCEPTIONS::raiseSystemError(MOX_SITE(kFunction), message);
}

} // namespace RT
} // namespace MOX
