// SPDX-License-Identifier: MIT
// XBinderManager: the exceptions callers see and the buffers it makes (its per-unit
// instances are raced in the concurrency test; decoding failures with their status are
// every document's failure table).
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/TestSchema.h"
#include "MoxTestSupport.h"

using namespace MOX::XB;
using MOX::EXCEPTIONS::SerializationException;
using namespace xbtest;

const char kFile[] = "services/serialization/manager/XBinderManager";

TEST(XBinderManager, EncodeFailuresRaiseMinus1055WithTheEncoderStatus)
{
    XBinderManager manager;
    tdoc bad;
    bad.entries.emplace_back();
    bad.entries.back().t = 9;
    EncodeBuffer buffer;
    doc_CC badElement(bad);
    EXPECT_TRUE(moxtest::throwsMox<SerializationException>([&] { manager.encode(badElement, buffer); }, -1055,
                                                           "MOX::XB::XBinderManager::encode", kFile, "'9'"));
}

TEST(XBinderManager, DecodingAUsedUpBufferRaisesWithTheDecoderStatus)
{
    XBinderManager manager;
    tdoc doc;
    doc_CC element(doc);
    const std::string text = "<doc/>";
    DecodeBuffer usedUp = manager.makeDecodeBuffer(text);
    EXPECT_EQ(manager.decode(element, usedUp), 0);
    EXPECT_TRUE(moxtest::throwsMox([&] { manager.decode(element, usedUp); }, -1056, nullptr, nullptr, "-22"));
}
