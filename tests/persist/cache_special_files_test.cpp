// SPDX-License-Identifier: MIT
// Special files at a cache path: each is refused with the runtime's SystemException, at
// once (a FIFO with no writer must not block), with the caller's mutex free again.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>
#include <mox/rt/ErrorCode.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using MOX::EXCEPTIONS::SystemException;
using MOX::RT::ILocalFile;

namespace {

// Runs `f`; the reason when it does not throw the runtime's SystemException naming `path`.
std::string refusal(const std::function<void()>& f, const std::string& path)
{
    try {
        f();
    } catch (const SystemException& e) {
        if (e.getCode() != MOX::EXCEPTIONS::RuntimeSystemError || e.getMessage().find(path) == std::string::npos)
            return "code " + std::to_string(e.getCode()) + ": " + e.getMessage();
        return "";
    }
    return "no SystemException";
}

} // namespace

TEST(CacheSpecialFiles, ReadsOnlyRegularFilesUpToTheLimit)
{
    const struct {
        const char* name;
        std::function<int(const std::string&)> make;
    } rows[] = {
        {"fifo", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600); }},
        {"symlink to /dev/zero", [](const std::string& p) { return ::symlink("/dev/zero", p.c_str()); }},
        {"directory", [](const std::string& p) { return ::mkdir(p.c_str(), 0700); }},
        {"oversize sparse file",
         [](const std::string& p) {
             const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
             const int rc = fd < 0 ? -1 : ::ftruncate(fd, ILocalFile::MaxFileSize + 1);
             return fd < 0 ? -1 : ::close(fd) | rc;
         }},
    };
    ScratchDir dir;
    int index = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir.path + "/cache" + std::to_string(++index);
        ASSERT_EQ(row.make(path), 0);
        MOX::RT::Mutex mutex;
        CachedState state;
        FilePtr file = MOX::RT::createLocalFile(path);
        EXPECT_EQ(refusal([&] { MOX::PERSIST::CacheReadLock lock(mutex, state, file); }, path), "");
        EXPECT_EQ(refusal([&] { MOX::PERSIST::CacheWriteLock lock(mutex, state, file); }, path), "");
        EXPECT_FALSE(heldElsewhere(mutex));
        EXPECT_EQ(state.version, 0);
    }
}

TEST(CacheSpecialFiles, WritesNoFileTooLargeToReadBack)
{
    ScratchDir dir;
    MOX::RT::Mutex mutex;
    CachedState state;
    FilePtr file = MOX::RT::createLocalFile(dir.path + "/cache");
    MOX::PERSIST::CacheWriteLock lock(mutex, state, file);
    state.payload.assign(ILocalFile::MaxFileSize, 'x');
    EXPECT_EQ(refusal([&] { lock.saveChanges(); }, dir.path + "/cache"), "");
    EXPECT_FALSE(lock.isSaved());
}
