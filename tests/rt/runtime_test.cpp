// SPDX-License-Identifier: MIT
// The runtime: the error code table and exceptions, number texts and local files.
#include <cfloat>
#include <climits>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <tuple>
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

TEST(Exceptions, RaiseTakesTheClassFromTheCodeRecordingTheSiteAndClonesKeepIt)
{
    const std::pair<ErrorCode, const char*> table[] = {
        {ErrorCode::NullPointer, "NullPointerException"}, {ErrorCode::Unmarshal, "SerializationException"},
        {ErrorCode::BootstrapPath, "SystemException"}, {ErrorCode::RegistrationExists, "ObjectAlreadyExistsException"}};
    for (const auto& [code, name] : table) {
        const int line = __LINE__ + 2;
        try {
            raise(code, MOX_SITE("MOX::Y::cast"), "why");
        } catch (const MoxException& caught) {
            EXPECT_TRUE(moxtest::isMox(caught, static_cast<int>(code), "MOX::Y::cast", "data/y/Cast", "why")) << name;
            EXPECT_EQ(caught.getName() + ":" + std::to_string(caught.getLine()), name + (":" + std::to_string(line)));
            // A clone keeps every field.
            const std::unique_ptr<MoxException> copy(caught.clone());
            EXPECT_TRUE(moxtest::isMox(*copy, caught.getCode(), "MOX::Y::cast", "data/y/Cast", "why")) << name;
            EXPECT_EQ(copy->getLine(), line);
        }
    }
    // A missing value is also a bad argument: callers catching either class see it.
    EXPECT_THROW(raise(ErrorCode::NullPointer, MOX_SITE("f")), InvalidArgumentException);
    EXPECT_TRUE(moxtest::throwsMox<ClassCastException>([] { MOX::RT::checkCast(MOX::RT::SmartPointer<int>()); },
                                                       -1005, "MOX::RT::checkCast"));
}

TEST(Exceptions, EveryClassClonesAndRaisesAsItself)
{
    const std::vector<std::shared_ptr<MoxException>> all{
        std::make_shared<MoxException>(), std::make_shared<InvalidArgumentException>(),
        std::make_shared<ClassCastException>(), std::make_shared<InvalidHandleException>(),
        std::make_shared<UnexpectedException>(), std::make_shared<SystemException>(), std::make_shared<BadAllocException>(),
        std::make_shared<NullPointerException>(),
        std::make_shared<SerializationException>("why", "MOX", -1055, "code", "Error converting object to string"),
        std::make_shared<ObjectAlreadyExistsException>("first", "second", "MOX", -1106, "code", "exists")};
    for (const auto& e : all) {
        const std::unique_ptr<MoxException> copy(e->clone());
        EXPECT_EQ(std::string(copy->className()) + copy->getDetail(), std::string(e->className()) + e->getDetail());
        try {
            copy->raise();
        } catch (const MoxException& raised) {
            EXPECT_STREQ(raised.className(), e->className());
            // The short form's text is its class name.
            EXPECT_STREQ(raised.what(), e->getMessage().empty() ? e->className() : e->what());
        }
    }
}

TEST(StringUtils, TrimRemovesOuterWhitespaceOnly)
{
    EXPECT_EQ(StringUtils::Trim(std::string(" \t\n\v\f\r a\0b \r\n", 13)), std::string("a\0b", 3));
}

TEST(StringUtils, GlobMatching)
{
    EXPECT_TRUE(StringUtils::Matches("", "***"));
    EXPECT_TRUE(StringUtils::Matches("xabcabd", "*ab?"));
    EXPECT_FALSE(StringUtils::Matches("ac", "a?c"));
    EXPECT_FALSE(StringUtils::Matches("mississippi", "m*iss*ppx"));
    std::string pattern(80, '*'); // exponential with naive backtracking
    for (int i = 1; i < 80; i += 2)
        pattern[i] = 'a';
    EXPECT_FALSE(StringUtils::Matches(std::string(4000, 'a'), pattern + "b"));
}

TEST(StringUtils, NumbersRoundTripThroughTheirShortestText)
{
    EXPECT_EQ(StringUtils::AsInt64(StringUtils::ToString(LLONG_MAX)), LLONG_MAX);
    for (double v : {-0.0, 0.1, 1.0 / 3.0, DBL_MAX, std::numeric_limits<double>::denorm_min()}) {
        const double back = StringUtils::AsDouble(StringUtils::ToString(v));
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
    }
    for (float v : {0.1f, FLT_MAX, std::numeric_limits<float>::denorm_min()})
        EXPECT_EQ(StringUtils::AsFloat(StringUtils::ToString(v)), v) << v;
    EXPECT_EQ(StringUtils::ToString(0.1) + StringUtils::ToString(0.1f), "0.10.1");
}

TEST(StringUtils, ReadersTakeOneWholeNumberOfTheirKindOnly)
{
    EXPECT_EQ(StringUtils::AsInteger("\t-0012\n"), -12);
    EXPECT_EQ(StringUtils::AsLong(std::to_string(LONG_MIN)), LONG_MIN);
    const std::tuple<const char*, void (*)(const std::string&), std::vector<std::string>> rejected[] = {
        {"AsInteger", [](const std::string& s) { StringUtils::AsInteger(s); },
         {"2147483648", "-2147483649", "7x", "   ", "+-5", "0x10", std::string("5\0", 2)}},
        {"AsLong", [](const std::string& s) { StringUtils::AsLong(s); }, {"9223372036854775808"}},
        {"AsInt64", [](const std::string& s) { StringUtils::AsInt64(s); }, {"-9223372036854775809", ""}},
        {"AsDouble", [](const std::string& s) { StringUtils::AsDouble(s); },
         {"", "1,5", "1e999", "1e-999", std::string("1\0", 2)}},
        {"AsFloat", [](const std::string& s) { StringUtils::AsFloat(s); }, {"1e39", "1e-50"}}};
    for (const auto& [function, read, texts] : rejected)
        for (const std::string& text : texts)
            EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(
                [&] { read(text); }, -1009, (std::string("MOX::RT::StringUtils::") + function).c_str()))
                << function << " \"" << text << '"';
}

TEST_F(LocalFileTest, WritesReplaceTheFileByRenameKeepingItsMode)
{
    const auto file = createLocalFile(path);
    Recorder target;
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
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(st.st_ino, before);
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
    file->readInto(target); // a missing file hands over nothing
    write("");
    file->readWith(createLocalFile(path)->acquireHandle(), target); // another object's handle for the same path serves
    EXPECT_EQ(target.received, "");                                  // nor does an empty file
}

TEST_F(LocalFileTest, FailingSystemCallsNameTheActionAndThePath)
{
    Recorder target;
    ASSERT_EQ(::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
    // A name as long as a name may be once ".lock" is added: the temporary file's is not.
    const std::string longName = dir + "/" + std::string(250, 'n');
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[&] { createLocalFile(dir + "/none/x")->acquireHandle(); },
         "open the lock file \"" + dir + "/none/x.lock\": No such file or directory"},
        {[&] { createLocalFile(path + "/x")->readInto(target); }, "open \"" + path + "/x\": Not a directory"},
        {[&] { createLocalFile(longName)->writeWith(createLocalFile(longName)->acquireHandle(), Recorder("x")); },
         "create a temporary file for \"" + longName + "\": File name too long"},
        // A regular file that the kernel refuses to read at its start.
        {[&] { createLocalFile("/proc/self/mem")->readInto(target); }, "read \"/proc/self/mem\": Input/output error"}};
    for (const auto& [call, message] : rows) {
        try {
            call();
            ADD_FAILURE() << message;
        } catch (const SystemException& e) {
            EXPECT_EQ(e.getMessage(), "Cannot " + message) << e.getFunction();
        }
    }
    EXPECT_EQ(createLocalFile("cache.xml")->toString() + createLocalFile(path)->getPath(), "LocalFile(cache.xml)" + path);
}

TEST_F(LocalFileTest, AFailedReplaceLeavesNoStrays)
{
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); // a directory where the file should be: renaming over it fails
    EXPECT_THROW(write("x"), SystemException);
    EXPECT_EQ(strays(), 0);
}
