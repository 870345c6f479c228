// SPDX-License-Identifier: MIT
// Every writer either refuses a value or writes text that its reader reads back equal:
// never a document that reads back different or not at all.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <mox/mox.h>

namespace {

using MOX::EXCEPTIONS::MoxException;

// Texts XML 1.0 cannot carry, texts that need escaping, and plain ones.
const std::vector<std::string> kTexts = {
    "a\x01" "b", "\xfc", "\xed\xa0\x80", "\xef\xbf\xbe", "tab\tline\ncr\r", "<&>\"'", "]]>", " spaced ",
    "\xc3\xa9\xf0\x9f\x98\x80", "plain"};

// Marshals `text` through one writer and reads it back; "refused" when the writer refuses.
std::string roundTrip(const std::function<std::string(const std::string&)>& write,
                      const std::function<std::string(const std::string&)>& read, const std::string& text)
{
    std::string written = "refused";
    try {
        written = write(text);
        return read(written);
    } catch (const MoxException& e) {
        return written == "refused" && e.getCode() == -1055 ? written : "failed: " + std::string(e.what()) + " in " + written;
    }
}

} // namespace

TEST(HostileText, EveryWriterRefusesOrReadsBackEqual)
{
    using namespace MOX;
    using Fn = std::function<std::string(const std::string&)>;
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
