#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

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
using Handle = SmartPointer<IUpdateHandle>;

namespace {

// A Marshallable that records what the file gives it and writes a fixed text.
struct Recorder : MOX::Marshallable {
    explicit Recorder(std::string text = std::string()) : text(std::move(text)) {}
    void unmarshal(const std::string& t) override
    {
        ++calls;
        received = t;
    }
    std::string marshal() const override { return text; }
    std::string text, received;
    int calls = 0;
};

// A fresh directory per test holding "cache.xml", removed with its contents at the end.
class LocalFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mox-localfile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        path = dir + "/cache.xml";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static std::string contents(const std::string& p)
    {
        std::stringstream s;
        s << std::ifstream(p, std::ios::binary).rdbuf();
        return s.str();
    }
    // The names in the directory other than the data file and its lock file.
    std::vector<std::string> strays() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().filename() != "cache.xml" && entry.path().filename() != "cache.xml.lock")
                names.push_back(entry.path().filename());
        return names;
    }
    // Writes `text` through a new handle of a new file object.
    void write(const std::string& text) const
    {
        const SmartPointer<ILocalFile> file = createLocalFile(path);
        file->writeWith(file->acquireHandle(), Recorder(text));
    }

    std::string dir, path;
};

} // namespace

TEST_F(LocalFileTest, MissingOrEmptyFileCallsNothingAndWrittenTextReadsBack)
{
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    EXPECT_EQ(file->getPath(), path);
    Recorder target;
    file->readInto(target);
    {
        Handle handle = file->acquireHandle();
        file->readWith(handle, target);
        std::ofstream(path) << "";
        file->readWith(handle, target);
        file->readInto(target);
        EXPECT_EQ(target.calls, 0);

        std::string big(300000, 'x');
        big += "<end \xc3\xa9/>\n";
        big[1000] = '\0';  // binary-safe
        file->writeWith(handle, Recorder(big));
        file->readWith(handle, target);
        EXPECT_EQ(target.received, big);
        file->writeWith(handle, Recorder("<short/>"));  // no tail of the longer text left
    }
    file->readInto(target);
    EXPECT_EQ(target.calls, 2);
    EXPECT_EQ(target.received, "<short/>");
    EXPECT_EQ(contents(path), "<short/>");
    EXPECT_TRUE(strays().empty());
}

TEST_F(LocalFileTest, NewFilesArePrivateAndReplacingKeepsPermissions)
{
    write("one");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const ino_t before = st.st_ino;
    write("two");
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(st.st_ino, before);  // replaced by rename, not rewritten in place
}

TEST_F(LocalFileTest, HandlesAreCheckedBeforeUse)
{
    const SmartPointer<ILocalFile> file = createLocalFile(path);
    std::ofstream(path) << "old";
    Recorder target;
    EXPECT_THROW(file->writeWith(Handle(), Recorder("new")), NullPointerException);
    EXPECT_THROW(file->readWith(Handle(), target), NullPointerException);
    struct Foreign : IUpdateHandle {};
    try {
        file->writeWith(Handle(new Foreign), Recorder("new"));
        FAIL() << "accepted a foreign handle";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1006);
        EXPECT_EQ(e.getFunction(), "MOX::RT::LocalFile::writeWith");
    }
    {
        const Handle otherFiles = createLocalFile(dir + "/other.xml")->acquireHandle();
        EXPECT_THROW(file->readWith(otherFiles, target), InvalidArgumentException);
    }
    EXPECT_EQ(target.calls, 0);
    EXPECT_EQ(contents(path), "old");
    // Another object for the same path is the same file: its handle locks this one.
    file->writeWith(createLocalFile(path)->acquireHandle(), Recorder("new"));
    EXPECT_EQ(contents(path), "new");
    EXPECT_THROW(createLocalFile(""), InvalidArgumentException);
}

TEST_F(LocalFileTest, FailuresNameThePathAndTheSystemError)
{
    const auto expectFailure = [](const std::function<void()>& call, const std::string& function,
                                  const std::string& file, int error) {
        try {
            call();
            ADD_FAILURE() << function << " succeeded";
        } catch (const SystemException& e) {
            EXPECT_EQ(e.getCode(), MOX::EXCEPTIONS::RuntimeSystemError);
            EXPECT_EQ(e.getFunction(), "MOX::RT::LocalFile::" + function);
            for (const std::string& part : {"\"" + file, std::string(std::strerror(error))})
                EXPECT_NE(e.getMessage().find(part), std::string::npos) << e.getMessage();
        }
    };
    const std::string missing = dir + "/no-such-dir/cache.xml";
    expectFailure([&] { createLocalFile(missing)->acquireHandle(); }, "acquireHandle", missing, ENOENT);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);  // a directory where the file should be
    Recorder target;
    expectFailure([&] { createLocalFile(path)->readInto(target); }, "readInto", path, EISDIR);
    EXPECT_EQ(target.calls, 0);
    // Renaming over the directory fails: the temporary file is removed again.
    EXPECT_THROW(write("x"), SystemException);
    EXPECT_TRUE(strays().empty());
}

TEST_F(LocalFileTest, AKilledWriteLeavesTheOldContentWhole)
{
    const std::string old = "<old content='whole'/>";
    std::ofstream(path) << old;
    // Past a file size limit, with SIGXFSZ at its default, the writer dies in the middle of its write.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0}, size{65536, 65536};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &size);
        write(std::string(4 << 20, 'n'));
        ::_exit(0);
    }
    int killed = -1;
    ::waitpid(child, &killed, 0);
    EXPECT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGXFSZ) << killed;
    EXPECT_EQ(contents(path), old);
    const std::vector<std::string> left = strays();  // its partly written temporary file
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind("cache.xml.tmp.", 0), 0u) << left[0];
    write("<new/>");  // the lock died with the process
    EXPECT_EQ(contents(path), "<new/>");
}

TEST_F(LocalFileTest, AHandleExcludesAnotherProcess)
{
    int go[2], done[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(done), 0);
    // A child forked while a handle is held would share its lock: fork first.
    const pid_t child = ::fork();
    if (child == 0) {
        char byte = 0;
        if (::read(go[0], &byte, 1) == 1) {
            const Handle h = createLocalFile(path)->acquireHandle();
            (void)!::write(done[1], "L", 1);
        }
        ::_exit(0);
    }
    Handle held = createLocalFile(path)->acquireHandle();
    EXPECT_EQ(::write(go[1], "G", 1), 1);
    pollfd p{done[0], POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 300), 0);  // the child does not get the lock
    held = nullptr;
    char byte = 0;
    EXPECT_EQ(::read(done[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'L');
    ::waitpid(child, nullptr, 0);
    for (int fd : {go[0], go[1], done[0], done[1]})
        ::close(fd);
}
