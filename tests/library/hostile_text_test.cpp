// SPDX-License-Identifier: MIT
// Every writer either refuses a value or writes text that its reader reads back equal:
// never a document that reads back different or not at all.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <mox/mox.h>
#include <mox/mox_c.h>

namespace {

using MOX::EXCEPTIONS::MoxException;

// Texts XML 1.0 cannot carry, texts that need escaping, and plain ones.
const std::vector<std::string> kTexts = {
    "a\x01" "b", "\xfc", "\xed\xa0\x80", "\xef\xbf\xbe", "tab\tline\ncr\r", "<&>\"'", "]]>", " spaced ",
    "\xc3\xa9\xf0\x9f\x98\x80", "plain"};

// Names callers supply: injected markup, names XML refuses, and good ones.
const std::vector<std::string> kNames = {
    "a><b", "a b", "1x", "\xff", "", "a:b:c", ":a", "x=\"1\" y", "a\x01", "\xf0\x90\x80\x80",
    "p:name", "_x-1.2", "\xc3\xa9t\xc3\xa9"};

using Fn = std::function<std::string(const std::string&)>;

// Marshals `text` through one writer and reads it back; "refused" when the writer
// refuses it with `refusal`.
std::string roundTrip(const Fn& write, const Fn& read, const std::string& text, int refusal = -1055)
{
    std::string written = "refused";
    try {
        written = write(text);
        return read(written);
    } catch (const MoxException& e) {
        return written == "refused" && e.getCode() == refusal ? written : "failed: " + std::string(e.what()) + " in " + written;
    }
}

} // namespace

TEST(HostileText, EveryWriterRefusesOrReadsBackEqual)
{
    using namespace MOX;
    const struct { const char* family; Fn write, read; } writers[] = {
        {"product", [](const std::string& t) { return createProductId(t, t, "1")->marshal(); },
         [](const std::string& x) { const auto p = parseProductId(x); return p->getName() == p->getComponent() ? p->getName() : "?"; }},
        {"qualified name", [](const std::string& t) { return Attributes::createQualifiedName(t, t, t)->marshal(); },
         [](const std::string& x) { return Attributes::parseQualifiedName(x)->getScope(); }},
        {"interface id", [](const std::string& t) { return createInterfaceId(t, 2)->toString(); },
         [](const std::string& x) { return parseInterfaceId(x)->getName(); }},
        {"loader id", [](const std::string& t) { return LoaderId(t, t).marshal(); },
         [](const std::string& x) { LoaderId l; l.unmarshal(x); return l.getName() == l.getFile() ? l.getName() : "?"; }},
        {"properties", [](const std::string& t) { RT::PropertiesImpl p; p.setProperty("k", t); return p.marshal(); },
         [](const std::string& x) { RT::PropertiesImpl p; p.unmarshal(x); return p.getProperty("k", "?"); }},
        {"attributes document", [](const std::string& t) {
             auto a = Attributes::createAttribute(t, ""); a->addValue(t); return Attributes::marshal(Attributes::AttributeList{a}); },
         [](const std::string& x) { const auto l = Attributes::unmarshal(x); return l.at(0)->getValues().at(0); }},
        {"identities document", [](const std::string& t) {
             Set<RT::SmartPointer<AUTHN::IIdentity>> s; s.insert(createUserIdentity("QEL", "auth/" + t)); return marshalIdentities(s); },
         [](const std::string& x) { return (*parseIdentities(x).begin())->getName(); }},
    };
    for (const auto& w : writers)
        for (const std::string& text : kTexts) {
            SCOPED_TRACE(std::string(w.family) + ": " + text);
            const std::string back = roundTrip(w.write, w.read, text);
            EXPECT_TRUE(back == "refused" || back == text) << back;
        }
}

TEST(HostileText, EveryWriterOfANameRefusesOrReadsBackEqual)
{
    using namespace MOX;
    using RT::XmlUtils;
    // A properties document under a caller's root name, read back under the same name.
    const auto properties = [](const std::string& root) { RT::PropertiesImpl p; p.setProperty("k", "v"); return XB::marshalProperties(p, root); };
    const auto readProperties = [](const std::string& root) {
        return [root](const std::string& x) { RT::PropertiesImpl p; XB::unmarshalProperties(x, root, p); return p.getProperty("k", "?") == "v" ? root : "?"; };
    };
    const auto binding = [](const std::string& root) {
        mox_handle h = 0;
        char* text = nullptr;
        mox_properties_create(&h);
        mox_properties_set(h, "k", "v");
        const int code = mox_properties_marshal(h, root.c_str(), &text);
        mox_close_handle(h);
        const std::string written = text ? text : "";
        std::free(text);
        if (code != 0)
            EXCEPTIONS::raise(static_cast<EXCEPTIONS::ErrorCode>(code), {"test", 0, "binding"});
        return written;
    };
    for (const std::string& name : kNames) {
        const struct { const char* writer; Fn write, read; } writers[] = {
            {"ToElement", [](const std::string& n) { return XmlUtils::ToElement(n, "x"); },
             [&name](const std::string& x) { return XmlUtils::getElements(name, x).size() == 1 && XmlUtils::GetElementValue(name, x) == "x" ? name : "?"; }},
            {"ToAttribute", [](const std::string& n) { return XmlUtils::ToElement("e", "", {XmlUtils::ToAttribute(n, "v")}); },
             [&name](const std::string& x) { return XmlUtils::GetAttributeValue(name, x, "?") == "v" ? name : "?"; }},
            {"marshalProperties", properties, readProperties(name)},
            {"mox_properties_marshal", binding, readProperties(name)},
        };
        for (const auto& w : writers) {
            SCOPED_TRACE(std::string(w.writer) + ": " + name);
            const std::string back = roundTrip(w.write, w.read, name, -1006);
            EXPECT_TRUE(back == "refused" || back == name) << back;
            EXPECT_EQ(back == name, XmlUtils::IsName(name)) << back;
        }
    }
}
