// SPDX-License-Identifier: MIT
// The stream forms of the document readers against their text forms, and the document
// limits that writers and readers share.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <mox/mox.h>

namespace {

using MOX::EXCEPTIONS::MoxException;

// The result of a read as one comparable text: the values, or the failure.
template <class Read>
std::string outcome(Read read)
{
    try {
        return read();
    } catch (const MoxException& e) {
        return e.getName() + " " + std::to_string(e.getCode()) + " " + e.getDetail();
    }
}

std::string attributes(const MOX::Attributes::AttributeList& list)
{
    std::string text;
    for (const auto& a : list) {
        text += a->getQualifiedName()->getName() + "=";
        for (const std::string& v : a->getValues())
            text += "[" + v + "]";
    }
    return text;
}

std::string identities(const MOX::Set<MOX::RT::SmartPointer<MOX::AUTHN::IIdentity>>& set)
{
    std::string text;
    for (const auto& i : set)
        text += i->toString() + ";";
    return text;
}

const std::string kBig(5000, 'x'); // longer than a few stream chunks

} // namespace

TEST(DocumentStreams, StreamAndTextFormsGiveEqualResultsAndErrors)
{
    const std::string attributeDocs[] = {
        "<?xml version=\"1.0\"?><attributes><attribute name=\"a\"><value> x </value><value/></attribute>"
        "<attribute name=\"b\" type=\"T\" scope=\"s\"><value>" + kBig + "</value></attribute></attributes>",
        "<p:attributes xmlns:p=\"u\"><attribute name=\"c\"/></p:attributes> trailing <junk",
        "", "<attributes><attribute name=\"a\"><value>", "<attributes><attribute/></attributes>", "<other/>",
        "<!DOCTYPE a [<!ENTITY e \"x\">]><attributes/>"};
    for (const std::string& doc : attributeDocs) {
        SCOPED_TRACE(doc.substr(0, 80));
        std::istringstream in(doc);
        EXPECT_EQ(outcome([&] { return attributes(MOX::Attributes::unmarshal(in)); }),
                  outcome([&] { return attributes(MOX::Attributes::unmarshal(doc)); }));
    }
    const std::string identityDocs[] = {
        "<identities><identity format=\"QEL\" authority=\"a\" account=\"u\" type=\"user\"/>"
        "<UserIdentifier format=\"EMAIL\">u@a</UserIdentifier></identities>",
        "<identities><x/></identities>", "<identities"};
    for (const std::string& doc : identityDocs) {
        SCOPED_TRACE(doc);
        std::istringstream in(doc);
        EXPECT_EQ(outcome([&] { return identities(MOX::parseIdentities(in)); }),
                  outcome([&] { return identities(MOX::parseIdentities(doc)); }));
    }
}

TEST(DocumentStreams, DocumentsBackToBackAreReadInTurn)
{
    std::stringstream in;
    in << "<attributes><attribute name=\"one\"/></attributes>\n  <attributes><attribute name=\"two\"><value>"
       << kBig << "</value></attribute></attributes><attributes/>";
    EXPECT_EQ(attributes(MOX::Attributes::unmarshal(in)), "one=");
    EXPECT_EQ(attributes(MOX::Attributes::unmarshal(in)), "two=[" + kBig + "]");
    EXPECT_EQ(attributes(MOX::Attributes::unmarshal(in)), "");
}

// A stream buffer whose device fails after the first bytes.
class FailingBuffer : public std::stringbuf {
public:
    using std::stringbuf::stringbuf;

protected:
    int_type underflow() override
    {
        if (gptr() != nullptr && gptr() - eback() > 3000)
            throw std::ios_base::failure("device gone");
        return std::stringbuf::underflow();
    }
};

TEST(DocumentStreams, AReadErrorMidStreamFailsCleanly)
{
    FailingBuffer failing("<attributes><attribute name=\"a\"><value>" + kBig + "</value></attribute></attributes>");
    std::istream in(&failing);
    const std::string result = outcome([&] { return attributes(MOX::Attributes::unmarshal(in)); });
    EXPECT_EQ(result.substr(0, 28), "SerializationException -1056");
    EXPECT_NE(result.find("read failed"), std::string::npos) << result;
}

TEST(DocumentLimits, WritersRefuseWhatReadersRefuseAndCallersCanChangeThem)
{
    using MOX::XB::DecodeLimits;
    const DecodeLimits saved = DecodeLimits::defaults();
    DecodeLimits::setDefaults(DecodeLimits{saved.maxDepth, saved.maxErrors, 1000, 3});

    auto attribute = MOX::Attributes::createAttribute("a", "");
    attribute->addValue(std::string(1000, '&')); // escaped it is longer, read back it fits
    const std::string fits = MOX::Attributes::marshal(MOX::Attributes::AttributeList{attribute});
    EXPECT_EQ(MOX::Attributes::unmarshal(fits).at(0)->getValues().at(0), std::string(1000, '&'));
    attribute->addValue(std::string(1001, 'v'));
    EXPECT_EQ(outcome([&] { return MOX::Attributes::marshal(MOX::Attributes::AttributeList{attribute}); })
                  .substr(0, 28), "SerializationException -1055");
    // Reading: an over-long text, too many attributes, and a start tag longer than the
    // limit, on both input forms.
    for (const std::string& doc : {"<attributes><attribute name=\"a\"><value>" + std::string(1001, 'v') + "</value></attribute></attributes>",
                                   std::string("<attributes><attribute name=\"a\" type=\"t\" scope=\"s\" x=\"y\"/></attributes>"),
                                   "<attributes><attribute name=\"a\" x=\"" + std::string(100000, 'n') + "\"/></attributes>"}) {
        std::istringstream in(doc);
        for (const std::string& result : {outcome([&] { return attributes(MOX::Attributes::unmarshal(doc)); }),
                                          outcome([&] { return attributes(MOX::Attributes::unmarshal(in)); })})
            EXPECT_NE(result.find("limit exceeded"), std::string::npos) << result.substr(0, 200);
    }
    DecodeLimits::setDefaults(saved);
}
