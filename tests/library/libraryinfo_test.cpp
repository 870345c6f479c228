#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <mox/LibraryInfo.h>
#include <mox/Shred.h>
#include <mox/mox.h>

namespace {
const char* const* fields(const LibraryInfo& info) { return &info.version; }
constexpr int kFields = sizeof(LibraryInfo) / sizeof(const char*);
} // namespace

TEST(LibraryInfo, VersionStringIsTheFirstFieldAndPointersAreStable)
{
    static_assert(kFields == 10, "ten string fields");
    LibraryInfo first;
    LibraryInfo second;
    std::memset(&first, 0, sizeof first);
    std::memset(&second, 0xff, sizeof second);
    mox_getLibraryInfo(&first);
    mox_getLibraryInfo(&second);
    for (int i = 0; i < kFields; ++i) {
        ASSERT_NE(fields(first)[i], nullptr) << "field " << i;
        EXPECT_EQ(fields(first)[i], fields(second)[i]) << "field " << i;  // the same pointers
    }
    EXPECT_EQ(mox_getVersionString(), first.version);
    EXPECT_STREQ(mox_getVersionString(), "2.1.0.0");
    EXPECT_STREQ(first.productName, "Corvane");
    EXPECT_STREQ(first.label, "N/A");
    mox_getLibraryInfo(nullptr);  // tolerated
}

TEST(LibraryInfo, ShredStringOverwritesInPlace)
{
    std::string secret = "correct horse battery staple, long enough for the heap";
    const char* data = secret.data();
    const std::size_t length = secret.size();
    MOX::shredString(secret);
    EXPECT_EQ(secret.data(), data);
    EXPECT_EQ(secret.size(), length);
    EXPECT_EQ(secret.find_first_not_of('\0'), std::string::npos);
}
