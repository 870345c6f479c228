// The runtime: the error code table and exceptions, number texts and local files.
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>
#include <mox/rt/Check.h>
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/Raise.h>
#include <mox/rt/StringUtils.h>

#include "MoxTestSupport.h"

MOX_SOURCE_FILE("data/y/Cast")

using MOX::RT::IUpdateHandle;
using MOX::RT::PropertiesImpl;
using MOX::RT::StringUtils;
using MOX::RT::createLocalFile;
using namespace MOX::EXCEPTIONS;
using Handle = MOX::RT::SmartPointer<IUpdateHandle>;

namespace {

// Each text must make `read` throw the -1009 argument error of `function`.
void expectRejected(const std::function<void(const std::string&)>& read, const std::vector<std::string>& texts,
                    const std::string& function)
{
    for (const std::string& text : texts)
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
            [&] { read(text); }, -1009, ("MOX::RT::StringUtils::" + function).c_str()))
            << '"' << text << '"';
}

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

TEST(Exceptions, MessageTableAndForms)
{
    const struct { int code; const char* message; } table[] = {
        {-1004, "A NULL pointer was encountered during the operation"}, {-1057, "Failed to created unmarshaller"},
        {-1075, "Not a valid input"}, {0, ""}, {-1007, ""}, {RuntimeSystemError, ""}};
    for (const auto& row : table)
        EXPECT_STREQ(errorMessage(row.code), row.message) << row.code;

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
        {ErrorCode::NullPointer, "NullPointerException"},       {ErrorCode::ClassCast, "ClassCastException"},
        {ErrorCode::InvalidArguments, "InvalidArgumentException"}, {ErrorCode::InvalidHandle, "InvalidHandleException"},
        {ErrorCode::Unknown, "UnexpectedException"},            {ErrorCode::Unmarshal, "SerializationException"},
        {ErrorCode::BootstrapPath, "SystemException"},           {ErrorCode::RegistrationExists, "ObjectAlreadyExistsException"}};
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
    EXPECT_TRUE(moxtest::throwsMox<NullPointerException>([] { MOX::RT::checkDeref(static_cast<int*>(nullptr)); },
                                                         -1004, "MOX::RT::checkDeref"));
    EXPECT_TRUE(moxtest::throwsMox<ClassCastException>([] { MOX::RT::checkCast(MOX::RT::SmartPointer<int>()); },
                                                       -1005, "MOX::RT::checkCast"));
    EXPECT_TRUE(moxtest::throwsMox<SerializationException>([] { PropertiesImpl().unmarshal("name=value"); }, -1056,
                                                           "MOX::RT::PropertiesImpl::unmarshal"));
}

TEST(StringUtils, AffixesTrimAndGlobMatching)
{
    EXPECT_TRUE(StringUtils::StartsWith("abc", "ab") && StringUtils::EndsWith(std::string("a\0b", 3), std::string("\0b", 2)));
    EXPECT_FALSE(StringUtils::StartsWith("abc", "abcd") || StringUtils::EndsWith("abc", "ab"));
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

TEST(StringUtils, IntegersLimitsAndRejections)
{
    EXPECT_EQ(StringUtils::AsInteger("\t-0012\n"), -12);
    EXPECT_EQ(StringUtils::AsLong(std::to_string(LONG_MIN)), LONG_MIN);
    EXPECT_EQ(StringUtils::AsInt64(StringUtils::ToString(LLONG_MAX)), LLONG_MAX);
    expectRejected([](const std::string& s) { StringUtils::AsInteger(s); },
                   {"2147483648", "-2147483649", "7x", "", "   ", "+", "+-5", "- 5", "5 5", "0x10", "1e3", "\xd9\xa3",
                    std::string("5\0", 2)},
                   "AsInteger");
    expectRejected([](const std::string& s) { StringUtils::AsLong(s); }, {"9223372036854775808"}, "AsLong");
    expectRejected([](const std::string& s) { StringUtils::AsInt64(s); }, {"-9223372036854775809", ""}, "AsInt64");
}

TEST(StringUtils, FloatsRoundTripShortestAndRejections)
{
    for (double v : {-0.0, 0.1, 1.0 / 3.0, DBL_MAX, std::numeric_limits<double>::denorm_min()}) {
        const std::string text = StringUtils::ToString(v);
        EXPECT_EQ(StringUtils::AsDouble(text), v) << text;
        EXPECT_EQ(std::signbit(StringUtils::AsDouble(text)), std::signbit(v)) << text;
    }
    for (float v : {0.1f, FLT_MAX, std::numeric_limits<float>::denorm_min()})
        EXPECT_EQ(StringUtils::AsFloat(StringUtils::ToString(v)), v) << v;
    EXPECT_EQ(StringUtils::ToString(0.1) + StringUtils::ToString(0.1f), "0.10.1");
    expectRejected([](const std::string& s) { StringUtils::AsDouble(s); },
                   {"", "1.5x", "1,5", "1e", "1e999", "1e-999", "1.0 2", std::string("1\0", 2)}, "AsDouble");
    expectRejected([](const std::string& s) { StringUtils::AsFloat(s); }, {"1e39", "1e-50"}, "AsFloat");
}

TEST(StringUtils, FloatsIgnoreProcessLocale)
{
    // Builds a decimal-comma locale into a private directory when the system has none.
    char dir[] = "/tmp/mox-locale-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string remove = std::string("rm -rf ") + dir;
    if (std::system((std::string("localedef -i de_DE -f UTF-8 ") + dir + "/de_DE.UTF-8 >/dev/null 2>&1").c_str()) != 0) {
        std::system(remove.c_str());
        GTEST_SKIP() << "localedef cannot build a decimal-comma locale here";
    }
    ::setenv("LOCPATH", dir, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::string(::localeconv()->decimal_point), ",");
    EXPECT_EQ(StringUtils::AsDouble("1.5") + StringUtils::AsFloat(" 2.25 "), 3.75);
    EXPECT_EQ(StringUtils::ToString(1.5) + StringUtils::ToString(2.25f), "1.52.25");
    EXPECT_THROW(StringUtils::AsDouble("1,5"), MOX::EXCEPTIONS::InvalidArgumentException);
    std::setlocale(LC_ALL, "C");
    std::system(remove.c_str());
}

TEST_F(LocalFileTest, MissingOrEmptyFilesHandOverNothingAndReplacingGoesByRename)
{
    const auto file = createLocalFile(path);
    Recorder target;
    file->readInto(target); // missing: nothing to hand over
    EXPECT_EQ(target.received, "");

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
    std::ofstream(path) << "";
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
