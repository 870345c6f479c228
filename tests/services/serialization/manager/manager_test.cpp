// XBinderManager: the exceptions and trace lines callers see, buffers it makes and its
// per-unit instances.
#include <gtest/gtest.h>

#include <functional>

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

// Runs `f`; returns the SerializationException it raised, or none.
std::optional<SerializationException> raised(const std::function<void()>& f)
{
    try {
        f();
    } catch (const SerializationException& e) {
        return e;
    }
    return std::nullopt;
}

// Decodes `text` through a manager; the buffer's error info goes to `info`.
std::optional<SerializationException> decodeFailure(const std::string& text, std::string* info = nullptr)
{
    XBinderManager manager;
    tdoc doc;
    DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    doc_CC element(doc);
    const auto e = raised([&] { EXPECT_EQ(manager.decode(element, buffer), 0); });
    if (info)
        *info = buffer.errorInfo();
    return e;
}

} // namespace

TEST(XBinderManager, DecodeFailuresRaiseMinus1056WithTheQuotedErrorInfoAndTraceIt)
{
    // One per kind of decoder failure: syntax, a schema rule, refused markup.
    for (const std::string& text : {std::string("not xml"), std::string("<doc><box/></doc>"),
                                   std::string("<!DOCTYPE doc><doc/>")}) {
        SCOPED_TRACE(text);
        TraceCapture capture;
        std::string info;
        const auto e = decodeFailure(text, &info);
        ASSERT_TRUE(e.has_value());
        EXPECT_TRUE(moxtest::isMox(*e, -1056, "MOX::XB::XBinderManager::decode",
                                   "services/serialization/manager/XBinderManager"));
        EXPECT_FALSE(info.empty());
        EXPECT_EQ(e->getDetail(), "Decoding failed - info: \"" + info + "\"");
        EXPECT_NE(std::string(e->what()).find(e->getDetail()), std::string::npos);
        ASSERT_FALSE(capture.lines.empty());
        EXPECT_EQ(capture.lines.back(),
                  std::make_pair(std::string("XBinderManager::decode"), "Deoding failed: " + e->getDetail()));
    }
    EXPECT_FALSE(decodeFailure("<doc><box name='a'/></doc>trailing").has_value());
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
    auto e = raised([&] { manager.encode(badElement, buffer); });
    ASSERT_TRUE(e.has_value());
    EXPECT_TRUE(
        moxtest::isMox(*e, -1055, "MOX::XB::XBinderManager::encode", "services/serialization/manager/XBinderManager"));
    EXPECT_EQ(e->getDetail(), buffer.errorInfo());
    EXPECT_NE(e->getDetail().find("-9"), std::string::npos);
    EXPECT_NE(e->getDetail().find("'9'"), std::string::npos);
    ASSERT_FALSE(capture.lines.empty());
    EXPECT_EQ(capture.lines.back(),
              std::make_pair(std::string("XBinderManager::encode"), "Encoding failed: " + buffer.errorInfo()));

    tdoc doc;
    doc_CC element(doc);
    const std::string text = "<doc/>";
    DecodeBuffer usedUp = manager.makeDecodeBuffer(text);
    EXPECT_EQ(manager.decode(element, usedUp), 0);
    e = raised([&] { manager.decode(element, usedUp); });
    ASSERT_TRUE(e.has_value());
    EXPECT_NE(e->getDetail().find("-22"), std::string::npos);
    DecodeBuffer source = manager.makeDecodeBuffer(text);
    DecodeBuffer target(std::move(source)); // a moved-from buffer has no parser either
    e = raised([&] { manager.decode(element, source); }); // NOLINT(bugprone-use-after-move)
    EXPECT_NE(e.value().getDetail().find("-22"), std::string::npos);
}

TEST(XBinderManager, MissingDocumentElementRaisesMinus1057NamingTheCaller)
{
    tdoc doc;
    doc_CC element(doc);
    const MOX::EXCEPTIONS::SourceSite site{"data/x/Unit", 1, "MOX::unmarshalX"};
    EXPECT_NO_THROW(XBinderManager::requireElement(&element, site));
    const auto e = raised([&] { XBinderManager::requireElement(nullptr, site); });
    ASSERT_TRUE(e.has_value());
    EXPECT_TRUE(moxtest::isMox(*e, -1057, "MOX::unmarshalX", "data/x/Unit"));
    EXPECT_TRUE(e->getDetail().empty());
}

TEST(XBinderManager, EachUnitSlotGetsOneInstanceMadeOnFirstUse)
{
    static std::atomic<XBinderManager*> first{nullptr};
    static std::atomic<XBinderManager*> second{nullptr};
    EXPECT_EQ(first.load(), nullptr);
    XBinderManager& a = XBinderManager::instance(first);
    EXPECT_EQ(first.load(), &a);
    EXPECT_EQ(&XBinderManager::instance(first), &a);
    EXPECT_NE(&XBinderManager::instance(second), &a);
}
