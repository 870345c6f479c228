// SPDX-License-Identifier: MIT
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Raise.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>

MOX_SOURCE_FILE("rt/LocalFile")

namespace MOX {
namespace RT {

IUpdateHandle::~IUpdateHandle() = default;
ILocalFile::~ILocalFile() = default;

namespace {

// Throws the SystemException "Cannot <action> "<path>": <reason>".
[[noreturn]] void throwSystem(const char* function, const char* action, const std::string& path,
                              const std::string& reason)
{
    const std::string message = std::string("Cannot ") + action + " \"" + path + "\": " + reason;
    Tracer tracer(function, true);
    tracer.printf("%s", message.c_str());
    EXCEPTIONS::raiseSystemError(MOX_SITE(function), message);
}

// Throws the SystemException of a failed system call on `path`; `error` is its errno.
[[noreturn]] void throwSystem(const char* function, const char* action, const std::string& path, int error)
{
    throwSystem(function, action, path, std::strerror(error));
}

std::string tooLarge() { return "larger than " + std::to_string(ILocalFile::MaxFileSize) + " bytes"; }

// A file descriptor closed when the holder ends.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) noexcept : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return m_fd; }
    // Closes now and reports close's own result (0 or an errno).
    int close() noexcept
    {
        if (m_fd < 0)
            return 0;
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int m_fd;
};

int openRetrying(const char* path, int flags, mode_t mode = 0)
{
    int fd;
    do
        fd = ::open(path, flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Holds an exclusive flock on a lock file for its lifetime.
class LocalFileHandle : public IUpdateHandle {
public:
    LocalFileHandle(Descriptor fd, dev_t device, ino_t inode) : m_fd(std::move(fd)), m_device(device), m_inode(inode) {}
    // Closing the descriptor releases the lock.
    ~LocalFileHandle() override = default;

    bool locks(dev_t device, ino_t inode) const noexcept { return m_device == device && m_inode == inode; }

private:
    Descriptor m_fd;
    dev_t m_device;
    ino_t m_inode;
};

class LocalFile : public ILocalFile {
public:
    explicit LocalFile(std::string path) : m_path(std::move(path)), m_lockPath(m_path + ".lock") {}

    void writeWith(const SmartPointer<IUpdateHandle>& handle, const Marshallable& source) override
    {
        static const char kFunction[] = "MOX::RT::LocalFile::writeWith";
        checkHandle(handle, kFunction);
        replaceWith(source.marshal(), kFunction);
    }

    void readWith(const SmartPointer<IUpdateHandle>& handle, Marshallable& target) override
    {
        static const char kFunction[] = "MOX::RT::LocalFile::readWith";
        checkHandle(handle, kFunction);
        readInto(target, kFunction);
    }

    void readInto(Marshallable& target) override { readInto(target, "MOX::RT::LocalFile::readInto"); }

    SmartPointer<IUpdateHandle> acquireHandle() override
    {
        static const char kFunction[] = "MOX::RT::LocalFile::acquireHandle";
        Descriptor fd(openRetrying(m_lockPath.c_str(), O_RDWR | O_CREAT, 0600));
        if (fd.get() < 0)
            throwSystem(kFunction, "open the lock file", m_lockPath, errno);
        int rc;
        do
            rc = ::flock(fd.get(), LOCK_EX);
        while (rc != 0 && errno == EINTR);
        if (rc != 0)
            throwSystem(kFunction, "lock", m_lockPath, errno);
        struct stat st;
        if (::fstat(fd.get(), &st) != 0)
            throwSystem(kFunction, "inspect the lock file", m_lockPath, errno);
        return makeShared<LocalFileHandle>(std::move(fd), st.st_dev, st.st_ino);
    }

    std::string getPath() const override { return m_path; }

    std::string toString() const override { return "LocalFile(" + m_path + ")"; }

private:
    void checkHandle(const SmartPointer<IUpdateHandle>& handle, const char* function) const
    {
        IUpdateHandle& h = checkDeref(handle);
        const auto* mine = dynamic_cast<const LocalFileHandle*>(&h);
        struct stat st;
        if (mine == nullptr || ::stat(m_lockPath.c_str(), &st) != 0 || !mine->locks(st.st_dev, st.st_ino)) {
            Tracer tracer(function, true);
            tracer.printf("the update handle does not lock \"%s\"", m_path.c_str());
            using namespace EXCEPTIONS;
            EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE(function));
        }
    }

    void readInto(Marshallable& target, const char* function)
    {
        // Non-blocking, so that a FIFO planted at the path cannot make the open wait for
        // a writer (while the caller holds its lock); only a regular file is read.
        Descriptor fd(openRetrying(m_path.c_str(), O_RDONLY | O_NONBLOCK));
        if (fd.get() < 0) {
            if (errno == ENOENT)
                return;  // no state yet
            throwSystem(function, "open", m_path, errno);
        }
        struct stat st;
        if (::fstat(fd.get(), &st) != 0)
            throwSystem(function, "inspect", m_path, errno);
        if (S_ISDIR(st.st_mode))
            throwSystem(function, "read", m_path, EISDIR);
        if (!S_ISREG(st.st_mode))
            throwSystem(function, "read", m_path, "not a regular file");
        if (static_cast<std::uint64_t>(st.st_size) > ILocalFile::MaxFileSize)
            throwSystem(function, "read", m_path, tooLarge());
        const int flags = ::fcntl(fd.get(), F_GETFL);
        if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
            throwSystem(function, "read", m_path, errno);
        std::string text;
        try {
            text = readAll(fd.get(), static_cast<std::size_t>(st.st_size), function);
        } catch (const std::bad_alloc&) {
            throwSystem(function, "read", m_path, ENOMEM);
        }
        fd.close();
        if (!text.empty())
            target.unmarshal(text);
    }

    // Reads to the end, refusing to hold more than the limit (the file may grow meanwhile).
    std::string readAll(int fd, std::size_t expected, const char* function) const
    {
        std::string text;
        text.reserve(expected);
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throwSystem(function, "read", m_path, errno);
            }
            if (n == 0)
                return text;
            if (text.size() + static_cast<std::size_t>(n) > ILocalFile::MaxFileSize)
                throwSystem(function, "read", m_path, tooLarge());
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }

    // Temporary file, write, fsync, rename over the file, fsync the directory.
    void replaceWith(const std::string& text, const char* function)
    {
        if (text.size() > ILocalFile::MaxFileSize)
            throwSystem(function, "write", m_path, tooLarge());  // it could not be read back
        std::string temp = m_path + ".tmp.XXXXXX";
        Descriptor fd(::mkostemp(&temp[0], O_CLOEXEC));
        if (fd.get() < 0)
            throwSystem(function, "create a temporary file for", m_path, errno);
        // From here on a failure removes the temporary file before it throws.
        auto fail = [&](const char* action, int error) {
            fd.close();
            ::unlink(temp.c_str());
            throwSystem(function, action, m_path, error);
        };
        struct stat existing;
        if (::stat(m_path.c_str(), &existing) == 0 && ::fchmod(fd.get(), existing.st_mode & 07777) != 0)
            fail("keep the permissions of", errno);
        const char* data = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            const ssize_t n = ::write(fd.get(), data, left);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                fail("write", errno);
            }
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        if (::fsync(fd.get()) != 0)
            fail("flush", errno);
        if (const int error = fd.close())
            fail("close", error);
        if (::rename(temp.c_str(), m_path.c_str()) != 0)
            fail("replace", errno);
        // Makes the rename itself durable; file systems that cannot sync a directory
        // (EINVAL) have nothing to do here.
        const std::string directory = directoryOf(m_path);
        Descriptor dir(openRetrying(directory.c_str(), O_RDONLY | O_DIRECTORY));
        if (dir.get() < 0)
            throwSystem(function, "open the directory of", m_path, errno);
        if (::fsync(dir.get()) != 0 && errno != EINVAL)
            throwSystem(function, "flush the directory of", m_path, errno);
    }

    std::string m_path;
    std::string m_lockPath;
};

} // namespace

SmartPointer<ILocalFile> createLocalFile(const std::string& path)
{
    if (path.empty()) {
        using namespace EXCEPTIONS;
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::RT::createLocalFile"));
    }
    return makeShared<LocalFile>(path);
}

} // namespace RT
} // namespace MOX
