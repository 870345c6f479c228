// Local files: what reading hands over, replacing by rename, handle checks, failures
// that name the path and the system error, and the lock between processes.
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mox/rt/ILocalFile.h>

#include "MoxTestSupport.h"

using MOX::RT::createLocalFile;
using MOX::RT::IUpdateHandle;
using Handle = MOX::RT::SmartPointer<IUpdateHandle>;

namespace {

// A Marshallable that records what the file gives it and writes a fixed text.
struct Recorder : MOX::Marshallable {
    explicit Recorder(std::string text = std::string()) : text(std::move(text)) {}
    void unmarshal(const std::string& t) override { received += t + ";"; }
    std::string marshal() const override { return text; }
    std::string text, received;
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
    // How many entries the directory holds besides the data file and its lock file.
    long strays() const { return std::distance(std::filesystem::directory_iterator(dir), {}) - 2; }
    void write(const std::string& text) const
    {
        createLocalFile(path)->writeWith(createLocalFile(path)->acquireHandle(), Recorder(text));
    }
    std::string dir, path;
};

} // namespace

TEST_F(LocalFileTest, MissingOrEmptyFilesHandOverNothingAndReplacingGoesByRename)
{
    const auto file = createLocalFile(path);
    Recorder target;
    file->readInto(target);
    std::ofstream(path) << "";
    file->readWith(file->acquireHandle(), target);
    EXPECT_EQ(target.received, "");
    std::filesystem::remove(path);

    std::string big(300000, 'x');
    big[1000] = '\0'; // binary-safe
    write(big);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // new files are private
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const ino_t before = st.st_ino;
    write("<short/>"); // no tail of the longer text left
    file->readInto(target);
    EXPECT_EQ(target.received, "<short/>;");
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // kept
    EXPECT_NE(st.st_ino, before);
    EXPECT_EQ(strays(), 0);
}

TEST_F(LocalFileTest, HandlesAreCheckedBeforeUse)
{
    const auto file = createLocalFile(path);
    Recorder target;
    struct Foreign : IUpdateHandle {};
    const Handle otherFiles = createLocalFile(dir + "/other.xml")->acquireHandle();
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::NullPointerException>(
        [&] { file->writeWith(Handle(), Recorder("new")); }, -1004));
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
        [&] { file->writeWith(Handle(new Foreign), Recorder("new")); }, -1006, "MOX::RT::LocalFile::writeWith"));
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
        [&] { file->readWith(otherFiles, target); }, -1006, "MOX::RT::LocalFile::readWith"));
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>([] { createLocalFile(""); }, -1006));
    EXPECT_FALSE(std::filesystem::exists(path));
    write("new"); // another object for the same path is the same file: its handle serves this one
    file->readInto(target);
    EXPECT_EQ(target.received, "new;");
}

TEST_F(LocalFileTest, FailuresNameThePathAndTheSystemError)
{
    const auto names = [](const std::function<void()>& call, const std::string& file, int error) {
        try {
            call();
        } catch (const MOX::EXCEPTIONS::SystemException& e) {
            return e.getCode() == MOX::EXCEPTIONS::RuntimeSystemError &&
                   e.getMessage().find("\"" + file) != std::string::npos &&
                   e.getMessage().find(std::strerror(error)) != std::string::npos;
        }
        return false;
    };
    const std::string missing = dir + "/no-such-dir/cache.xml";
    EXPECT_TRUE(names([&] { createLocalFile(missing)->acquireHandle(); }, missing, ENOENT));
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); // a directory where the file should be
    Recorder target;
    EXPECT_TRUE(names([&] { createLocalFile(path)->readInto(target); }, path, EISDIR));
    // Renaming over the directory fails: the temporary file is removed again.
    EXPECT_THROW(write("x"), MOX::EXCEPTIONS::SystemException);
    EXPECT_EQ(strays(), 0);
}

TEST_F(LocalFileTest, AHandleExcludesAnotherProcess)
{
    int go[2], done[2];
    ASSERT_EQ(::pipe(go) + ::pipe(done), 0);
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
    EXPECT_EQ(::poll(&p, 1, 300), 0); // the child does not get the lock
    held = nullptr;
    char byte = 0;
    EXPECT_EQ(::read(done[0], &byte, 1), 1);
    ::waitpid(child, nullptr, 0);
    for (int fd : {go[0], go[1], done[0], done[1]})
        ::close(fd);
}
