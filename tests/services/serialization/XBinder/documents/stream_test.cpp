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

namespace {

// A buffer that hands out a few bytes at a time, with no put-back room before them.
class TrickleBuffer : public std::streambuf {
public:
    TrickleBuffer(std::string text, std::size_t step) : m_text(std::move(text)), m_step(step) {}

protected:
    int_type underflow() override
    {
        if (m_next == m_text.size())
            return traits_type::eof();
        char* begin = &m_text[m_next];
        m_next += std::min(m_step, m_text.size() - m_next);
        setg(begin, begin, &m_text[0] + m_next);
        return traits_type::to_int_type(*begin);
    }

private:
    std::string m_text;
    std::size_t m_step;
    std::size_t m_next = 0;
};

// A buffer without a get area: reads of odd sizes, and nothing can be put back.
class OddBuffer : public std::streambuf {
public:
    explicit OddBuffer(std::string text) : m_text(std::move(text)) {}

protected:
    int_type underflow() override
    {
        return m_next < m_text.size() ? traits_type::to_int_type(m_text[m_next]) : traits_type::eof();
    }
    int_type uflow() override
    {
        const int_type c = underflow();
        m_next += c == traits_type::eof() ? 0 : 1;
        return c;
    }
    std::streamsize xsgetn(char* into, std::streamsize count) override
    {
        const std::size_t n = std::min({static_cast<std::size_t>(count), 7 + m_calls++ % 5, m_text.size() - m_next});
        m_text.copy(into, n, m_next);
        m_next += n;
        return static_cast<std::streamsize>(n);
    }

private:
    std::string m_text;
    std::size_t m_next = 0;
    std::size_t m_calls = 0;
};

// A device that fails after its first bytes: the buffer throws.
class FailingBuffer : public TrickleBuffer {
public:
    explicit FailingBuffer(std::string text) : TrickleBuffer(std::move(text), 16) {}

protected:
    int_type underflow() override
    {
        if (m_reads++ > 0)
            throw std::ios_base::failure("device gone");
        return TrickleBuffer::underflow();
    }

private:
    int m_reads = 0;
};

// One stream over a text, from one of the kinds of source.
class Source {
public:
    enum Kind { String, File, Pipe, Trickle, Odd, Exceptions, Failing, Count };
    static constexpr const char* kNames[] = {"string", "file", "pipe", "trickle", "odd", "exceptions", "failing"};

    Source(Kind kind, const std::string& text) : m_stream(nullptr)
    {
        const std::string file = testing::TempDir() + "stream_source.xml";
        if (kind == File || kind == Pipe)
            std::ofstream(file, std::ios::binary) << text;
        switch (kind) {
        case String: m_buffer = std::make_unique<std::stringbuf>(text); break;
        case File: {
            auto buffer = std::make_unique<std::filebuf>();
            buffer->open(file, std::ios::in | std::ios::binary);
            m_buffer = std::move(buffer);
            break;
        }
        case Pipe: // through a child process: no seeking
            m_pipe = popen(("cat '" + file + "'").c_str(), "r");
            m_buffer = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(m_pipe, std::ios::in);
            break;
        case Trickle: m_buffer = std::make_unique<TrickleBuffer>(text, 3); break;
        case Odd: m_buffer = std::make_unique<OddBuffer>(text); break;
        case Exceptions: m_buffer = std::make_unique<TrickleBuffer>(text, 500); break;
        default: m_buffer = std::make_unique<FailingBuffer>(text); break;
        }
        m_stream.rdbuf(m_buffer.get());
        if (kind == Exceptions)
            m_stream.exceptions(std::ios::badbit | std::ios::failbit | std::ios::eofbit);
        if (kind == Failing)
            m_stream.exceptions(std::ios::badbit);
    }
    ~Source()
    {
        m_buffer.reset();
        if (m_pipe != nullptr)
            pclose(m_pipe);
    }
    std::istream& stream() { return m_stream; }

private:
    FILE* m_pipe = nullptr;
    std::unique_ptr<std::streambuf> m_buffer;
    std::istream m_stream;
};

// A document kind: its stream and text readers, and two documents.
struct DocumentKind {
    std::function<std::string(std::istream&)> fromStream;
    std::function<std::string(const std::string&)> fromText;
    std::string one;
    std::string two;
};

std::string withoutLeadingSpace(const std::string& text)
{
    return text.substr(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
}

} // namespace

TEST(DocumentStreams, EverySourceReadsDocumentsInTurnAndKeepsWhatFollows)
{
    const DocumentKind kinds[] = {
        {[](std::istream& in) { return attributes(MOX::Attributes::unmarshal(in)); },
         [](const std::string& t) { return attributes(MOX::Attributes::unmarshal(t)); },
         "<?xml version=\"1.0\"?><attributes><attribute name=\"a\"><value>" + kBig + "</value></attribute></attributes>",
         "<attributes><attribute name=\"b\"><value>&lt;attribute name=\"c\"/></value></attribute></attributes>"},
        {[](std::istream& in) { return identities(MOX::parseIdentities(in)); },
         [](const std::string& t) { return identities(MOX::parseIdentities(t)); },
         "<identities><identity format=\"QEL\" authority=\"a\" account=\"u\" type=\"user\"/></identities>",
         "<identities><!--" + kBig + "--><UserIdentifier format=\"EMAIL\">u@a</UserIdentifier></identities>"},
    };
    for (const DocumentKind& kind : kinds) {
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
            for (int kindOfSource = 0; kindOfSource < Source::Count; ++kindOfSource) {
                SCOPED_TRACE(std::string(Source::kNames[kindOfSource]) + ": " + text.substr(0, 60));
                Source source(static_cast<Source::Kind>(kindOfSource), text);
                std::istream& in = source.stream();
                if (kindOfSource == Source::Failing) {
                    const std::string result = outcome([&] { return kind.fromStream(in); });
                    EXPECT_EQ(result.substr(0, 28), "SerializationException -1056");
                    EXPECT_NE(result.find("read failed"), std::string::npos) << result;
                    EXPECT_TRUE(in.bad());
                    continue;
                }
                for (const std::string& doc : st.docs)
                    EXPECT_EQ(outcome([&] { return kind.fromStream(in); }), outcome([&] { return kind.fromText(doc); }));
                // The next read sees exactly what followed.
                EXPECT_EQ(outcome([&] { return kind.fromStream(in); }), outcome([&] { return kind.fromText(expected); }));
                // Read by other means, the stream holds the end of it (a string's buffer all
                // of it); the start that the buffer could not take back is kept for the next read.
                Source again(static_cast<Source::Kind>(kindOfSource), text);
                for (std::size_t i = 0; i < st.docs.size(); ++i)
                    kind.fromStream(again.stream());
                again.stream().exceptions(std::ios::goodbit);
                again.stream().clear();
                const std::string rest{std::istreambuf_iterator<char>(again.stream()), std::istreambuf_iterator<char>()};
                const std::string seen = withoutLeadingSpace(rest);
                if (kindOfSource == Source::String)
                    EXPECT_EQ(seen, expected);
                EXPECT_TRUE(seen.size() <= expected.size() && expected.compare(expected.size() - seen.size(), seen.size(), seen) == 0)
                    << seen;
            }
        }
    }
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
