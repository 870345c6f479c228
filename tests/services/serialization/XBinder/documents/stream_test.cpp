// SPDX-License-Identifier: MIT
// The stream forms of the document readers against their text forms, and the document
// limits that writers and readers share.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <ext/stdio_filebuf.h>

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

// An identities document longer than a few pieces of the in-memory feed, so that tokens
// span pieces.
std::string manyIdentities()
{
    std::string doc = "<identities>";
    for (int i = 0; i < 40000; ++i)
        doc += "<UserIdentifier format=\"QEL\">NT:C/user" + std::to_string(i) + "</UserIdentifier>";
    return doc + "</identities>";
}

} // namespace

TEST(DocumentStreams, BothInputFormsGiveEqualOutcomes)
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
        "<identities><x/></identities>", "<identities", manyIdentities(),
        manyIdentities().substr(0, 2u << 20)};
    for (const std::string& doc : identityDocs) {
        SCOPED_TRACE(doc.substr(0, 80) + " (" + std::to_string(doc.size()) + " bytes)");
        std::istringstream in(doc);
        EXPECT_EQ(outcome([&] { return identities(MOX::parseIdentities(in)); }),
                  outcome([&] { return identities(MOX::parseIdentities(doc)); }));
    }
}

namespace {

// A device without seeking that hands out pieces of `sizes` bytes in turn (no put-back
// room before a piece), whose reads of several bytes return short counts, and that with
// `failAt` throws at that refill.
class PieceBuffer : public std::streambuf {
public:
    PieceBuffer(std::string text, std::vector<std::size_t> sizes, int failAt = -1)
        : m_text(std::move(text)), m_sizes(std::move(sizes)), m_failAt(failAt)
    {
    }

protected:
    int_type underflow() override
    {
        if (m_refills++ == m_failAt)
            throw std::ios_base::failure("device gone");
        if (m_next == m_text.size())
            return traits_type::eof();
        char* begin = &m_text[m_next];
        m_next += std::min(m_sizes[m_refills % m_sizes.size()], m_text.size() - m_next);
        setg(begin, begin, &m_text[0] + m_next);
        return traits_type::to_int_type(*begin);
    }
    std::streamsize xsgetn(char* into, std::streamsize count) override
    {
        return std::streambuf::xsgetn(into, std::min<std::streamsize>(count, 1 + 2 * (m_refills % 5)));
    }

private:
    std::string m_text;
    std::vector<std::size_t> m_sizes;
    int m_failAt;
    int m_refills = 0;
    std::size_t m_next = 0;
};

// One stream over a text, from one kind of source.
class Source {
public:
    enum Kind { String, File, Pipe, Trickle, Odd, Exceptions, Failing, Count };

    Source(int kind, const std::string& text) : m_stream(nullptr)
    {
        const std::string file = testing::TempDir() + "stream_source.xml";
        std::ofstream(file, std::ios::binary) << text;
        if (kind == String)
            m_buffer = std::make_unique<std::stringbuf>(text);
        else if (kind == File)
            m_buffer.reset((new std::filebuf)->open(file, std::ios::in | std::ios::binary));
        else if (kind == Pipe) // through a child process
            m_buffer = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(m_pipe = popen(("cat " + file).c_str(), "r"), std::ios::in);
        else
            m_buffer = std::make_unique<PieceBuffer>(text, kind == Trickle ? std::vector<std::size_t>{3}
                                                                             : std::vector<std::size_t>{1, 7, 13, 501},
                                                     kind == Failing ? 2 : -1);
        m_stream.rdbuf(m_buffer.get());
        // Exceptions on, for every state bit or for failures only.
        if (kind == Exceptions || kind == Failing)
            m_stream.exceptions(kind == Failing ? std::ios::badbit : std::ios::badbit | std::ios::failbit | std::ios::eofbit);
    }
    ~Source()
    {
        m_buffer.reset();
        if (m_pipe != nullptr)
            pclose(m_pipe);
    }
    std::istream& in() { return m_stream; }

private:
    FILE* m_pipe = nullptr;
    std::unique_ptr<std::streambuf> m_buffer;
    std::istream m_stream;
};

std::string withoutLeadingSpace(const std::string& text)
{
    return text.substr(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
}

} // namespace

TEST(DocumentStreams, EverySourceReadsDocumentsInTurnAndKeepsWhatFollows)
{
    const struct {
        std::function<std::string(std::istream&)> fromStream;
        std::function<std::string(const std::string&)> fromText;
        std::string one, two;
    } kinds[] = {
        {[](std::istream& in) { return attributes(MOX::Attributes::unmarshal(in)); },
         [](const std::string& t) { return attributes(MOX::Attributes::unmarshal(t)); },
         "<?xml version=\"1.0\"?><attributes><attribute name=\"a\"><value>" + kBig + "</value></attribute></attributes>",
         "<attributes><attribute name=\"b\"><value>&lt;attribute name=\"c\"/></value></attribute></attributes>"},
        {[](std::istream& in) { return identities(MOX::parseIdentities(in)); },
         [](const std::string& t) { return identities(MOX::parseIdentities(t)); },
         "<identities><identity format=\"QEL\" authority=\"a\" account=\"u\" type=\"user\"/></identities>",
         "<identities><!--" + kBig + "--><UserIdentifier format=\"EMAIL\">u@a</UserIdentifier></identities>"},
    };
    for (const auto& kind : kinds) {
        // The documents of one stream, and what follows the last of them.
        const struct { std::vector<std::string> docs; std::string rest; } streams[] = {
            {{kind.one}, ""}, {{kind.one, kind.two}, ""}, {{kind.two}, "junk <attributes/>"},
            {{kind.one}, " \n\t"}, {{kind.two, kind.one}, "\n <x"}};
        for (const auto& st : streams) {
            std::string text;
            for (const std::string& doc : st.docs)
                text += doc + "\n";
            text += st.rest;
            const std::string expected = withoutLeadingSpace(st.rest);
            for (int k = 0; k < Source::Count; ++k) {
                SCOPED_TRACE(std::to_string(k) + ": " + text.substr(0, 60));
                Source source(k, text);
                if (k == Source::Failing) {
                    const std::string result = outcome([&] { return kind.fromStream(source.in()); });
                    EXPECT_EQ(result.substr(0, 28), "SerializationException -1056");
                    EXPECT_NE(result.find("read failed"), std::string::npos) << result;
                    EXPECT_TRUE(source.in().bad());
                    continue;
                }
                for (const std::string& doc : st.docs)
                    EXPECT_EQ(outcome([&] { return kind.fromStream(source.in()); }), outcome([&] { return kind.fromText(doc); }));
                // The next read sees exactly what followed.
                EXPECT_EQ(outcome([&] { return kind.fromStream(source.in()); }), outcome([&] { return kind.fromText(expected); }));
                // Read by other means, the stream holds the end of it (a string's buffer all
                // of it); the start that the buffer could not take back is kept for the next read.
                Source again(k, text);
                for (std::size_t i = 0; i < st.docs.size(); ++i)
                    kind.fromStream(again.in());
                again.in().exceptions(std::ios::goodbit);
                again.in().clear();
                const std::string seen = withoutLeadingSpace({std::istreambuf_iterator<char>(again.in()), {}});
                if (k == Source::String)
                    EXPECT_EQ(seen, expected);
                else // what is left is an end of what followed
                    EXPECT_EQ(expected.substr(expected.size() - std::min(seen.size(), expected.size())), seen);
            }
        }
    }
}

TEST(DocumentLimits, TheCallersLimitsBindWritersAsWellAsReaders)
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
