// SPDX-License-Identifier: MIT
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <mox/LibraryInfo.h>
#include <mox/Shred.h>
#include <mox/mox.h>

TEST(LibraryInfo, EveryFieldIsSetAndThePointersAreStable)
{
    LibraryInfo first, second;
    std::memset(&first, 0, sizeof first);
    std::memset(&second, 0xff, sizeof second);
    mox_getLibraryInfo(&first);
    mox_getLibraryInfo(&second);
    for (int i = 0; i < static_cast<int>(sizeof(LibraryInfo) / sizeof(const char*)); ++i) {
        EXPECT_NE((&first.version)[i], nullptr) << "field " << i;
        EXPECT_EQ((&first.version)[i], (&second.version)[i]) << "field " << i;
    }
    EXPECT_EQ(mox_getVersionString(), first.version);
    mox_getLibraryInfo(nullptr); // tolerated
}

TEST(LibraryInfo, ShredStringOverwritesInPlace)
{
    std::string secret = "correct horse battery staple, long enough for the heap";
    const char* data = secret.data();
    MOX::shredString(secret);
    EXPECT_EQ(secret.data(), data);
    EXPECT_EQ(secret, std::string(54, '\0'));
}
