// XBinderManager: the exceptions and trace lines callers see, buffers it makes and its
// per-unit instances.
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/TestSchema.h"

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

// Decodes `text` through the manager; returns the raised exception (or none).
std::optional<SerializationException> decodeFailure(const std::string& text, std::string* info = nullptr)
{
    XBinderManager manager;
    tdoc doc;
    DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    doc_CC element(doc);
    try {
        EXPECT_EQ(manager.decode(element, buffer), 0);
        return std::nullopt;
    } catch (const SerializationException& e) {
        if (info)
            *info = buffer.errorInfo();
        return e;
    }
}

} // namespace

TEST(XBinderManager, DecodeFailuresRaiseMinus1056WithTheQuotedErrorInfo)
{
    for (const std::string& text : {std::string(), std::string("not xml"), std::string("<other/>"),
                                   std::string("<doc><junk/></doc>"), std::string("<doc><box name='a' x='1'/></doc>"),
                                   std::string("<doc><item id='a' size='s'/></doc>"), std::string("<doc><box/></doc>"),
                                   std::string("<!DOCTYPE doc><doc/>")}) {
        std::string info;
        const auto e = decodeFailure(text, &info);
        ASSERT_TRUE(e.has_value()) << text;
        EXPECT_EQ(e->getCode(), -1056);
        EXPECT_EQ(e->getFacility(), "MOX");
        EXPECT_EQ(e->getKey(), "code");
        EXPECT_EQ(e->getMessage(), "Error converting string to object");
        EXPECT_EQ(e->getFunction(), "MOX::XB::XBinderManager::decode");
        EXPECT_EQ(e->getFile(), "services/serialization/manager/XBinderManager");
        EXPECT_FALSE(info.empty());
        EXPECT_EQ(e->getDetail(), "Decoding failed - info: \"" + info + "\"") << text;
        EXPECT_NE(std::string(e->what()).find(e->getDetail()), std::string::npos);
    }
    EXPECT_FALSE(decodeFailure("<doc><box name='a'/></doc>trailing").has_value());
}

TEST(XBinderManager, EmptyAndNonXmlTextNameExpatsMessageWithLineAndColumn)
{
    const auto empty = decodeFailure("");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->getDetail().rfind("Decoding failed - info: \"", 0), 0u);
    EXPECT_NE(empty->getDetail().find("no element found, line = 1, column = 0"), std::string::npos)
        << empty->getDetail();
    const auto text = decodeFailure("\nplain words");
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->getDetail().find("syntax error, line = 2, column = 0"), std::string::npos) << text->getDetail();
}

TEST(XBinderManager, FailuresAreTracedInTheirScopes)
{
    TraceCapture capture;
    std::string info;
    ASSERT_TRUE(decodeFailure("<doc><junk/></doc>", &info).has_value());
    ASSERT_FALSE(capture.lines.empty());
    EXPECT_EQ(capture.lines.back().first, "XBinderManager::decode");
    EXPECT_EQ(capture.lines.back().second, "Deoding failed: Decoding failed - info: \"" + info + "\"");

    XBinderManager manager;
    tdoc doc;
    tchoice bad;
    bad.t = 3;
    doc.entries.push_back(std::move(bad));
    EncodeBuffer buffer;
    doc_CC element(doc);
    EXPECT_THROW(manager.encode(element, buffer), SerializationException);
    EXPECT_EQ(capture.lines.back().first, "XBinderManager::encode");
    EXPECT_EQ(capture.lines.back().second, "Encoding failed: " + buffer.errorInfo());
}

TEST(XBinderManager, MismatchedBufferKindsAreDecodeAndEncodeFailures)
{
    XBinderManager manager;
    tdoc doc;
    doc_CC element(doc);
    EncodeBuffer encodeBuffer;
    try {
        manager.decode(element, encodeBuffer);
        FAIL();
    } catch (const SerializationException& e) {
        EXPECT_EQ(e.getCode(), -1056);
        EXPECT_NE(e.getDetail().find("-43"), std::string::npos);
    }
    const std::string text = "<doc/>";
    DecodeBuffer decodeBuffer = manager.makeDecodeBuffer(text);
    try {
        manager.encode(element, decodeBuffer);
        FAIL();
    } catch (const SerializationException& e) {
        EXPECT_EQ(e.getCode(), -1055);
        EXPECT_NE(e.getDetail().find("-43"), std::string::npos);
    }
    DecodeBuffer usedUp = manager.makeDecodeBuffer(text);
    EXPECT_EQ(manager.decode(element, usedUp), 0);
    try {
        manager.decode(element, usedUp);
        FAIL();
    } catch (const SerializationException& e) {
        EXPECT_NE(e.getDetail().find("-22"), std::string::npos);
    }
}

TEST(XBinderManager, MissingDocumentElementRaisesMinus1057NamingTheCaller)
{
    tdoc doc;
    doc_CC element(doc);
    EXPECT_NO_THROW(XBinderManager::requireElement(&element, "f", "g"));
    try {
        XBinderManager::requireElement(nullptr, "data/x/Unit", "MOX::unmarshalX");
        FAIL();
    } catch (const SerializationException& e) {
        EXPECT_EQ(e.getCode(), -1057);
        EXPECT_EQ(e.getMessage(), "Failed to created unmarshaller");
        EXPECT_EQ(e.getFacility(), "MOX");
        EXPECT_EQ(e.getFile(), "data/x/Unit");
        EXPECT_EQ(e.getFunction(), "MOX::unmarshalX");
        EXPECT_TRUE(e.getDetail().empty());
    }
}

TEST(XBinderManager, EachUnitSlotGetsOneInstanceMadeOnFirstUse)
{
    static std::atomic<XBinderManager*> first{nullptr};
    static std::atomic<XBinderManager*> second{nullptr};
    EXPECT_EQ(first.load(), nullptr);
    XBinderManager& a = XBinderManager::instance(first);
    EXPECT_EQ(first.load(), &a);
    EXPECT_EQ(&XBinderManager::instance(first), &a);
    XBinderManager& b = XBinderManager::instance(second);
    EXPECT_NE(&a, &b);
}
