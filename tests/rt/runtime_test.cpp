// SPDX-License-Identifier: MIT
// The runtime: the error code table and exceptions, number texts and local files.
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <poll.h>
#include <tuple>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>
#include <mox/rt/Check.h>
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Raise.h>
#include <mox/rt/StringUtils.h>

#include "MoxTestSupport.h"
#include "persist/PersistTestSupport.h"

MOX_SOURCE_FILE("data/y/Cast")

using MOX::RT::IUpdateHandle;
using MOX::RT::StringUtils;
using MOX::RT::createLocalFile;
using namespace MOX::EXCEPTIONS;
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
    // How many entries the directory holds besides the data file and its lock file.
    long strays() const { return std::distance(std::filesystem::directory_iterator(dir), {}) - 2; }
    void write(const std::string& text) const
    {
        createLocalFile(path)->writeWith(createLocalFile(path)->acquireHandle(), Recorder(text));
    }
    persisttest::ScratchDir scratch;
    const std::string dir = scratch.path, path = dir + "/cache.xml";
};

} // namespace

TEST(Exceptions, TextForms)
{
    const InvalidArgumentException full(ErrorCode::InvalidInput);
    EXPECT_EQ(full.getFacility() + "|" + full.getKey() + "|" + full.what(), "MOX|code|Not a valid input");
    EXPECT_STREQ(SerializationException("element \"x\" missing", ErrorCode::Unmarshal).what(),
                 "Error converting string to object: element \"x\" missing");
    EXPECT_STREQ(SystemException("MOX", -7, "code", "custom text", "why").what(), "custom text: why");
    EXPECT_STREQ(InvalidHandleException().what(), "InvalidHandleException");
}

TEST(Exceptions, RaiseTakesTheClassFromTheCodeRecordsTheSiteAndClonesKeepBoth)
{
    const std::pair<ErrorCode, const char*> table[] = {
        {ErrorCode::NullPointer, "NullPointerException"}, {ErrorCode::InvalidHandle, "InvalidHandleException"},
        {ErrorCode::Unknown, "UnexpectedException"},      {ErrorCode::Unmarshal, "SerializationException"},
        {ErrorCode::BootstrapPath, "SystemException"},     {ErrorCode::RegistrationExists, "ObjectAlreadyExistsException"}};
    for (const auto& [code, name] : table) {
        const int line = __LINE__ + 2;
        try {
            raise(code, MOX_SITE("MOX::Y::cast"), "why");
        } catch (const MoxException& caught) {
            std::unique_ptr<MoxException> copy(caught.clone()); // keeps the dynamic class and every field
            EXPECT_TRUE(moxtest::isMox(*copy, static_cast<int>(code), "MOX::Y::cast", "data/y/Cast", "why")) << name;
            EXPECT_EQ(copy->getName() + ":" + std::to_string(copy->getLine()), name + (":" + std::to_string(line)));
            EXPECT_THROW(copy->raise(), MoxException);
        }
    }
    // A missing value is also a bad argument: callers catching either class see it.
    EXPECT_THROW(raise(ErrorCode::NullPointer, MOX_SITE("f")), InvalidArgumentException);
    EXPECT_TRUE(moxtest::throwsMox<ClassCastException>([] { MOX::RT::checkCast(MOX::RT::SmartPointer<int>()); },
                                                       -1005, "MOX::RT::checkCast"));
}

TEST(StringUtils, TrimAndGlobMatching)
{
    EXPECT_EQ(StringUtils::Trim(std::string(" \t\n\v\f\r a\0b \r\n", 13)), std::string("a\0b", 3));
    const struct { const char *text, *pattern; bool match; } globs[] = {
        {"", "***", true}, {"", "?", false}, {"abc", "ABC", false}, {"ac", "a?c", false},
        {"xabcabd", "*ab?", true}, {"mississippi", "m*iss*ppi", true}, {"mississippi", "m*iss*ppx", false}};
    for (const auto& r : globs)
        EXPECT_EQ(StringUtils::Matches(r.text, r.pattern), r.match) << r.text << " ~ " << r.pattern;
    std::string pattern; // exponential with naive backtracking
    for (int i = 0; i < 40; ++i)
        pattern += "*a";
    EXPECT_FALSE(StringUtils::Matches(std::string(4000, 'a'), pattern + "b"));
}

TEST(StringUtils, NumbersRoundTripAndReadersTakeOneWholeNumberOfTheirKindOnly)
{
    EXPECT_EQ(StringUtils::AsInteger("\t-0012\n"), -12);
    EXPECT_EQ(StringUtils::AsLong(std::to_string(LONG_MIN)), LONG_MIN);
    EXPECT_EQ(StringUtils::AsInt64(StringUtils::ToString(LLONG_MAX)), LLONG_MAX);
    for (double v : {-0.0, 0.1, 1.0 / 3.0, DBL_MAX, std::numeric_limits<double>::denorm_min()})
        EXPECT_TRUE(StringUtils::AsDouble(StringUtils::ToString(v)) == v &&
                    std::signbit(StringUtils::AsDouble(StringUtils::ToString(v))) == std::signbit(v)) << v;
    for (float v : {0.1f, FLT_MAX, std::numeric_limits<float>::denorm_min()})
        EXPECT_EQ(StringUtils::AsFloat(StringUtils::ToString(v)), v) << v;
    EXPECT_EQ(StringUtils::ToString(0.1) + StringUtils::ToString(0.1f), "0.10.1"); // shortest
    const std::tuple<const char*, void (*)(const std::string&), std::vector<std::string>> rejected[] = {
        {"AsInteger", [](const std::string& s) { StringUtils::AsInteger(s); },
         {"2147483648", "-2147483649", "7x", "   ", "+-5", "- 5", "0x10", "\xd9\xa3", std::string("5\0", 2)}},
        {"AsLong", [](const std::string& s) { StringUtils::AsLong(s); }, {"9223372036854775808"}},
        {"AsInt64", [](const std::string& s) { StringUtils::AsInt64(s); }, {"-9223372036854775809", ""}},
        {"AsDouble", [](const std::string& s) { StringUtils::AsDouble(s); },
         {"", "1,5", "1e", "1e999", "1e-999", std::string("1\0", 2)}},
        {"AsFloat", [](const std::string& s) { StringUtils::AsFloat(s); }, {"1e39", "1e-50"}}};
    for (const auto& [function, read, texts] : rejected)
        for (const std::string& text : texts)
            EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(
                [&] { read(text); }, -1009, (std::string("MOX::RT::StringUtils::") + function).c_str()))
                << function << " \"" << text << '"';
}

TEST(StringUtils, FloatsIgnoreProcessLocale)
{
    // Builds a decimal-comma locale into a private directory when the system has none.
    const persisttest::ScratchDir dir;
    if (std::system(("localedef -i de_DE -f UTF-8 " + dir.path + "/de_DE.UTF-8 >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build a decimal-comma locale here";
    ::setenv("LOCPATH", dir.path.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    EXPECT_EQ(StringUtils::AsDouble("1.5") + StringUtils::AsFloat(" 2.25 "), 3.75);
    EXPECT_EQ(StringUtils::ToString(1.5) + StringUtils::ToString(2.25f), "1.52.25");
    std::setlocale(LC_ALL, "C");
}

TEST_F(LocalFileTest, MissingOrEmptyFilesHandOverNothingAndReplacingGoesByRename)
{
    const auto file = createLocalFile(path);
    Recorder target;
    file->readInto(target); // missing: nothing to hand over
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
    EXPECT_TRUE((st.st_mode & 0777) == 0640u && st.st_ino != before); // mode kept, file replaced
    EXPECT_EQ(strays(), 0);
}

TEST_F(LocalFileTest, HandlesAreCheckedBeforeUse)
{
    const auto file = createLocalFile(path);
    Recorder target;
    struct Foreign : IUpdateHandle {};
    const Handle otherFiles = createLocalFile(dir + "/other.xml")->acquireHandle();
    EXPECT_TRUE(moxtest::throwsMox([&] { file->writeWith(Handle(), Recorder("new")); }, -1004));
    EXPECT_TRUE(moxtest::throwsMox([&] { file->writeWith(Handle(new Foreign), Recorder("new")); }, -1006));
    EXPECT_TRUE(moxtest::throwsMox([&] { file->readWith(otherFiles, target); }, -1006));
    EXPECT_TRUE(moxtest::throwsMox([] { createLocalFile(""); }, -1006));
    write("");
    file->readWith(createLocalFile(path)->acquireHandle(), target); // another object's handle for the same path serves
    EXPECT_EQ(target.received, "");                                  // and an empty file hands over nothing
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
