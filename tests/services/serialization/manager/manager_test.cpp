// SPDX-License-Identifier: MIT
// XBinderManager: the exceptions and trace lines callers see and the buffers it makes
// (its per-unit instances are raced in the concurrency test).
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/TestSchema.h"
#include "MoxTestSupport.h"

using namespace MOX::XB;
using MOX::EXCEPTIONS::SerializationException;
using MOX::RT::Tracer;
using namespace xbtest;

namespace {

struct TraceCapture {
    std::vector<std::pair<std::string, std::string>> lines;
    TraceCapture()
    {
        Tracer::setSink([this](const std::string& scope, const std::string& line) { lines.emplace_back(scope, line); });
    }
    ~TraceCapture() { Tracer::setSink({}); }
};

const char kFile[] = "services/serialization/manager/XBinderManager";

} // namespace

TEST(XBinderManager, DecodeFailuresRaiseMinus1056WithTheQuotedErrorInfoAndTraceIt)
{
    // One per kind of decoder failure: syntax, a schema rule, refused markup.
    for (const std::string& text : {std::string("not xml"), std::string("<doc><box/></doc>"),
                                   std::string("<!DOCTYPE doc><doc/>")}) {
        SCOPED_TRACE(text);
        TraceCapture capture;
        XBinderManager manager;
        tdoc doc;
        DecodeBuffer buffer = manager.makeDecodeBuffer(text);
        doc_CC element(doc);
        try {
            manager.decode(element, buffer);
            ADD_FAILURE() << "no exception";
        } catch (const SerializationException& e) {
            EXPECT_TRUE(moxtest::isMox(e, -1056, "MOX::XB::XBinderManager::decode", kFile));
            EXPECT_EQ(e.getDetail(), "Decoding failed - info: \"" + buffer.errorInfo() + "\"");
            ASSERT_FALSE(capture.lines.empty());
            EXPECT_EQ(capture.lines.back(), std::make_pair(std::string("XBinderManager::decode"), "Deoding failed: " + e.getDetail()));
        }
    }
}

TEST(XBinderManager, EncodeFailuresAndMismatchedBuffersRaiseWithTheStatusInTheDetail)
{
    XBinderManager manager;
    tdoc bad;
    bad.entries.emplace_back();
    bad.entries.back().t = 9;
    EncodeBuffer buffer;
    doc_CC badElement(bad);
    TraceCapture capture;
    EXPECT_TRUE(moxtest::throwsMox<SerializationException>([&] { manager.encode(badElement, buffer); }, -1055,
                                                           "MOX::XB::XBinderManager::encode", kFile, "'9'"));
    ASSERT_FALSE(capture.lines.empty());
    EXPECT_EQ(capture.lines.back(),
              std::make_pair(std::string("XBinderManager::encode"), "Encoding failed: " + buffer.errorInfo()));

    tdoc doc;
    doc_CC element(doc);
    const std::string text = "<doc/>";
    DecodeBuffer usedUp = manager.makeDecodeBuffer(text);
    EXPECT_EQ(manager.decode(element, usedUp), 0);
    EXPECT_TRUE(moxtest::throwsMox([&] { manager.decode(element, usedUp); }, -1056, nullptr, nullptr, "-22"));
    DecodeBuffer source = manager.makeDecodeBuffer(text);
    DecodeBuffer target(std::move(source)); // a moved-from buffer has no parser either
    EXPECT_TRUE(moxtest::throwsMox([&] { manager.decode(element, source); }, -1056, nullptr, nullptr, "-22")); // NOLINT
}

TEST(XBinderManager, MissingDocumentElementRaisesMinus1057NamingTheCaller)
{
    tdoc doc;
    doc_CC element(doc);
    const MOX::EXCEPTIONS::SourceSite site{"data/x/Unit", 1, "MOX::unmarshalX"};
    EXPECT_NO_THROW(XBinderManager::requireElement(&element, site));
    EXPECT_TRUE(moxtest::throwsMox<SerializationException>([&] { XBinderManager::requireElement(nullptr, site); },
                                                           -1057, "MOX::unmarshalX", "data/x/Unit"));
}
