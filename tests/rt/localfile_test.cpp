#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/ILocalFile.h>

using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::EXCEPTIONS::NullPointerException;
using MOX::EXCEPTIONS::SystemException;
using MOX::RT::createLocalFile;
using MOX::RT::ILocalFile;
using MOX::RT::IUpdateHandle;
using MOX::RT::SmartPointer;

namespace {

// A Marshallable that records what the file gives it and writes a fixed text.
class Recorder : public MOX::Marshallable {
public:
    explicit Recorder(std::string text = std::string()) : text(std::move(text)) {}
    void unmarshal(const std::string& t) override
    {
        ++calls;
        received = t;
    }
    std::string marshal() const override { return text; }

    std::string text;
    std::string received;
    int calls = 0;
};

// A fresh directory per test, removed with its contents at the end.
class LocalFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mox-localfile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        path = dir + "/cache.xml";
    }
    void TearDown() override
    {
        ::chmod(dir.c_str(), 0700);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    static std::string contents(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void put(const std::string& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

    // The names in the test directory, other than the data file and its lock file.
    std::vector<std::string> strays() const
    {
        std::vector<std::string> names;
        DIR* d = ::opendir(dir.c_str());
        while (dirent* e = d ? ::readdir(d) : nullptr) {
            const std::string n = e->d_name;
            if (n != "." && n != ".." && n != "cache.xml" && n != "cache.xml.lock")
                names.push_back(n);
        }
        if (d)
            ::closedir(d);
        return names;
    }

    std::string dir;
    std::string path;
};

} // namespace

TEST_F(LocalFileTest, MissingOrEmptyFileCallsNothingAndWrittenTextReadsBack)
{
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    EXPECT_EQ(file->getPath(), path);
    Recorder target;
    file->readInto(target);
    EXPECT_EQ(target.calls, 0);
    {
        SmartPointer<IUpdateHandle> handle = file->acquireHandle();
        file->readWith(handle, target);
        EXPECT_EQ(target.calls, 0);
        put(path, "");
        file->readWith(handle, target);
        file->readInto(target);
        EXPECT_EQ(target.calls, 0);

        std::string big(300000, 'x');
        big += "<end \xc3\xa9/>\n";
        big[1000] = '\0';  // binary-safe
        file->writeWith(handle, Recorder(big));
        file->readWith(handle, target);
        EXPECT_EQ(target.calls, 1);
        EXPECT_EQ(target.received, big);
        file->writeWith(handle, Recorder("<short/>"));  // shorter text replaces, no tail left
    }
    file->readInto(target);
    EXPECT_EQ(target.calls, 2);
    EXPECT_EQ(target.received, "<short/>");
    EXPECT_EQ(contents(path), "<short/>");
    EXPECT_TRUE(strays().empty());
}

TEST_F(LocalFileTest, ReplacingKeepsPermissionsAndNewFilesArePrivate)
{
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    SmartPointer<IUpdateHandle> handle = file->acquireHandle();
    file->writeWith(handle, Recorder("one"));
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const ino_t before = st.st_ino;
    file->writeWith(handle, Recorder("two"));
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(st.st_ino, before);  // replaced by rename, not rewritten in place
    EXPECT_EQ(contents(path), "two");
}

TEST_F(LocalFileTest, HandlesAreCheckedBeforeUse)
{
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    const SmartPointer<ILocalFile> other = createLocalFile(dir + "/other.xml");
    put(path, "old");
    Recorder target;
    EXPECT_THROW(file->writeWith(SmartPointer<IUpdateHandle>(), Recorder("new")), NullPointerException);
    EXPECT_THROW(file->readWith(SmartPointer<IUpdateHandle>(), target), NullPointerException);

    class Foreign : public IUpdateHandle {};
    try {
        file->writeWith(SmartPointer<IUpdateHandle>(new Foreign), Recorder("new"));
        FAIL() << "accepted a foreign handle";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1006);
        EXPECT_EQ(e.getFunction(), "MOX::RT::LocalFile::writeWith");
    }
    {
        SmartPointer<IUpdateHandle> otherHandle = other->acquireHandle();
        EXPECT_THROW(file->writeWith(otherHandle, Recorder("new")), InvalidArgumentException);
        EXPECT_THROW(file->readWith(otherHandle, target), InvalidArgumentException);
    }
    EXPECT_EQ(target.calls, 0);
    EXPECT_EQ(contents(path), "old");
    // Another object for the same path is the same file: its handle locks this one.
    SmartPointer<IUpdateHandle> samePath = createLocalFile(path)->acquireHandle();
    file->writeWith(samePath, Recorder("new"));
    EXPECT_EQ(contents(path), "new");
    EXPECT_THROW(createLocalFile(""), InvalidArgumentException);
}

TEST_F(LocalFileTest, FailuresNameThePathAndTheSystemError)
{
    const std::string missingDir = dir + "/no-such-dir/cache.xml";
    const SmartPointer<ILocalFile> file = createLocalFile(missingDir);
    try {
        file->acquireHandle();
        FAIL() << "locked in a missing directory";
    } catch (const SystemException& e) {
        EXPECT_EQ(e.getCode(), MOX::EXCEPTIONS::RuntimeSystemError);
        EXPECT_EQ(e.getFacility(), "MOX");
        EXPECT_NE(e.getMessage().find(missingDir), std::string::npos) << e.getMessage();
        EXPECT_NE(e.getMessage().find(std::strerror(ENOENT)), std::string::npos) << e.getMessage();
        EXPECT_EQ(e.getFunction(), "MOX::RT::LocalFile::acquireHandle");
    }
    // A directory where the file should be cannot be read.
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    Recorder target;
    try {
        createLocalFile(path)->readInto(target);
        FAIL() << "read a directory";
    } catch (const SystemException& e) {
        EXPECT_NE(e.getMessage().find("\"" + path + "\""), std::string::npos) << e.getMessage();
        EXPECT_NE(e.getMessage().find(std::strerror(EISDIR)), std::string::npos) << e.getMessage();
        EXPECT_EQ(e.getFunction(), "MOX::RT::LocalFile::readInto");
    }
    EXPECT_EQ(target.calls, 0);
    // Renaming a file over a directory fails: the temporary file is removed again.
    const SmartPointer<ILocalFile> overDir = createLocalFile(path);
    SmartPointer<IUpdateHandle> handle = overDir->acquireHandle();
    EXPECT_THROW(overDir->writeWith(handle, Recorder("x")), SystemException);
    EXPECT_TRUE(strays().empty());
}

TEST_F(LocalFileTest, WriteFailingMidwayLeavesOldContentAndNoTemporaryFile)
{
    const std::string old = "<old content='whole'/>";
    put(path, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The size limit makes the write fail with EFBIG part of the way through.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int status = 1;
        try {
            const SmartPointer<ILocalFile> file = createLocalFile(path);
            SmartPointer<IUpdateHandle> handle = file->acquireHandle();
            file->writeWith(handle, Recorder(std::string(1 << 20, 'n')));
        } catch (const SystemException& e) {
            status = std::string(e.getMessage()).find(std::strerror(EFBIG)) != std::string::npos ? 42 : 2;
        }
        ::_exit(status);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42);
    EXPECT_EQ(contents(path), old);
    EXPECT_TRUE(strays().empty());
}

TEST_F(LocalFileTest, ProcessKilledMidWriteLeavesOldContentWhole)
{
    const std::string old = "<old content='whole'/>";
    put(path, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Passing the size limit kills the writer (SIGXFSZ) in the middle of its write.
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        const rlimit limit{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const SmartPointer<ILocalFile> file = createLocalFile(path);
        SmartPointer<IUpdateHandle> handle = file->acquireHandle();
        file->writeWith(handle, Recorder(std::string(4 << 20, 'n')));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(contents(path), old);
    // The writer died with a partly written temporary file beside the data file.
    const std::vector<std::string> left = strays();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind("cache.xml.tmp.", 0), 0u) << left[0];
    EXPECT_EQ(contents(dir + "/" + left[0]).size(), 65536u);

    // The lock died with the process: the file can be locked and written again.
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    SmartPointer<IUpdateHandle> handle = file->acquireHandle();
    file->writeWith(handle, Recorder("<new/>"));
    EXPECT_EQ(contents(path), "<new/>");
}

TEST_F(LocalFileTest, SecondHandleWaitsForTheFirst)
{
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    SmartPointer<IUpdateHandle> first = file->acquireHandle();
    std::atomic<bool> released{false};
    std::atomic<bool> acquired{false};
    bool releasedBeforeAcquire = false;
    std::thread second([&] {
        SmartPointer<IUpdateHandle> h = createLocalFile(path)->acquireHandle();
        releasedBeforeAcquire = released.load();
        acquired = true;
    });
    // Give the second thread every chance to (wrongly) get the lock.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(acquired.load());
    released = true;
    first = nullptr;
    second.join();
    EXPECT_TRUE(acquired.load());
    EXPECT_TRUE(releasedBeforeAcquire);
}

TEST_F(LocalFileTest, HandleExcludesOtherProcesses)
{
    // Forked before the lock is taken: a child forked while a handle is held would share
    // that handle's lock.
    int go[2], done[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(go[1]);
        ::close(done[0]);
        char byte = 0;
        if (::read(go[0], &byte, 1) != 1)
            ::_exit(2);
        SmartPointer<IUpdateHandle> h = createLocalFile(path)->acquireHandle();
        byte = 'L';
        ::_exit(::write(done[1], &byte, 1) == 1 ? 0 : 1);
    }
    ::close(go[0]);
    ::close(done[1]);
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    SmartPointer<IUpdateHandle> held = file->acquireHandle();
    char byte = 'G';
    ASSERT_EQ(::write(go[1], &byte, 1), 1);
    pollfd p{done[0], POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 300), 0);  // the child is still waiting for the lock
    held = nullptr;
    byte = 0;
    EXPECT_EQ(::read(done[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'L');
    ::close(go[1]);
    ::close(done[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
