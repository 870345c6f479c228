// SPDX-License-Identifier: MIT
#include <mox/LibraryInfo.h>

// Build facts come from the build system (see src/CMakeLists.txt); the fallbacks keep
// a hand-made build honest about not knowing them.
#ifndef MOX_CHANGE_NUMBER
#define MOX_CHANGE_NUMBER "unknown"
#endif
#ifndef MOX_BUILD_NUMBER
#define MOX_BUILD_NUMBER "0"
#endif
#ifndef MOX_PLATFORM
#define MOX_PLATFORM "unknown"
#endif
#ifndef MOX_RELEASE_TYPE
#define MOX_RELEASE_TYPE "Development Build"
#endif

namespace {

// Statically stored, so every call hands out the same pointers.
const char kVersion[] = "2.1.0.0";
const char kChangeNumber[] = MOX_CHANGE_NUMBER;
const char kBuildNumber[] = MOX_BUILD_NUMBER;
const char kProductName[] = "Corvane";
const char kShortName[] = "MOX";
const char kPlatform[] = MOX_PLATFORM;
const char kBuildDate[] = __DATE__;
const char kBuildTime[] = __TIME__;
const char kLabel[] = "N/A";
const char kReleaseType[] = MOX_RELEASE_TYPE;

} // namespace

extern "C" void mox_getLibraryInfo(LibraryInfo* info)
{
    if (info == nullptr)
        return;
    info->version = kVersion;
    info->changeNumber = kChangeNumber;
    info->buildNumber = kBuildNumber;
    info->productName = kProductName;
    info->shortName = kShortName;
    info->platform = kPlatform;
    info->buildDate = kBuildDate;
    info->buildTime = kBuildTime;
    info->label = kLabel;
    info->releaseType = kReleaseType;
}

extern "C" const char* mox_getVersionString(void)
{
    LibraryInfo info;
    mox_getLibraryInfo(&info);
    return info.version;
}
