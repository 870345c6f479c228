// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <istream>
#include <string>

#include <expat.h>

namespace MOX {
namespace RT {

class StreamInput;

/// The one front door between input and expat, shared by the document decoder and the
/// runtime's element readers (compiled into each library, never installed or exported).
///
/// It owns one parser (no namespace processing, UTF-8), refuses document type
/// declarations, applies the limits every reader shares (depth, attributes per element,
/// length of a value or of any run of input without markup), feeds in-memory texts and
/// streams, and words every refusal the same way. Element events go to an Events
/// object; the Events side stops the feed with stopAtRootEnd or abort.
class XmlFeeder {
public:
    /// The limits every reader applies; the defaults are the documents' defaults.
    struct Limits {
        /// Deepest element nesting accepted (the first element is at depth 1).
        int maxDepth = 256;
        /// Longest attribute value or run of text, and longest stretch of input
        /// without complete markup, in bytes.
        std::size_t maxTextBytes = 16u * 1024u * 1024u;
        /// Most attributes on one element.
        std::size_t maxAttributes = 64;
    };

    /// Receives the element events of one feed.
    class Events {
    public:
        /// An element starts (depth() counts it); attributes as name/value pairs.
        virtual void onStart(const char* name, const char** attributes) = 0;
        /// An element ends (depth() still counts it).
        virtual void onEnd() = 0;
        /// Character data, in one or more pieces.
        virtual void onText(const char* text, int length) = 0;
        /// A CDATA section starts.
        virtual void onCDataStart() {}

    protected:
        ~Events() = default;
    };

    /// Why feeding ended.
    enum class Outcome {
        Open,       ///< more input may follow (a piece was fed, nothing ended)
        Complete,   ///< the input ended (or the root ended) without an error
        Stopped,    ///< the Events side aborted the feed
        Syntax,     ///< the parser met an error; errorText() has its message
        Forbidden,  ///< a document type declaration or another encoding; errorText() says which
        Limit,      ///< a limit was reached; limitName()/limitValue() say which
        ReadFailed, ///< the stream or its buffer failed
        NoParser    ///< no parser could be made
    };

    XmlFeeder(Events& events, const Limits& limits);
    ~XmlFeeder();
    XmlFeeder(const XmlFeeder&) = delete;
    XmlFeeder& operator=(const XmlFeeder&) = delete;

    /// False when no parser could be made.
    bool ready() const noexcept { return m_parser != nullptr; }
    /// Feeds `size` bytes of an in-memory text; `final` marks the end of the input.
    Outcome feedText(const char* data, std::size_t size, bool final);
    /// Reads `input` to its end (or to the root's end) and feeds it.
    Outcome feedStream(std::istream& input);

    /// Ends the feed after the current element: the root ended. For a stream, what
    /// follows stays for the next reader.
    void stopAtRootEnd() noexcept;
    /// Ends the feed at once (the Events side met a fatal error).
    void abort() noexcept;
    /// Ends the feed at once for a limit reached by the Events side.
    void refuse(const char* limit, std::size_t value) noexcept;

    /// Current element depth (the element being started or ended counts).
    int depth() const noexcept { return m_depth; }
    /// Offset from the start of all fed input of the current event, and its length.
    std::size_t eventOffset() const noexcept;
    std::size_t eventLength() const noexcept;

    /// What a Syntax outcome met (the parser's error text with ", line = L, column = C")
    /// or a Forbidden one found ("DOCTYPE name", "encoding name").
    const std::string& errorText() const noexcept { return m_errorText; }
    /// The one wording of a failed outcome for a reader's error detail ("" when none).
    std::string message() const;
    /// The limit of a Limit outcome ("depth", "attributes", "text") and its value.
    const char* limitName() const noexcept { return m_limitName; }
    std::size_t limitValue() const noexcept { return m_limitValue; }

private:
    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes);
    static void XMLCALL onEnd(void* self, const XML_Char* name);
    static void XMLCALL onText(void* self, const XML_Char* text, int length);
    static void XMLCALL onCDataStart(void* self);
    static void XMLCALL onDeclaration(void* self, const XML_Char* version, const XML_Char* encoding, int standalone);
    static void XMLCALL onDoctype(void* self, const XML_Char* name, const XML_Char* sysid,
                                  const XML_Char* pubid, int hasInternalSubset);

    bool active() const noexcept { return m_outcome == Outcome::Open; }
    bool checkAttributes(const char** attributes) noexcept;
    bool quietTooLong(std::size_t fed) noexcept;
    void finish(XML_Status status, bool final, std::size_t fed);
    static constexpr std::size_t kReadFailed = ~std::size_t(0);
    std::size_t gather(StreamInput& source, char* piece, std::size_t want, bool fill, bool separator, bool& end);
    void giveBackRest(StreamInput& source, const char* piece, std::size_t size, std::size_t rootEnd);
    void syntaxError();
    void forbid(std::string found);

    Events& m_events;
    Limits m_limits;
    XML_Parser m_parser = nullptr;
    Outcome m_outcome = Outcome::Open;
    int m_depth = 0;
    bool m_rootEnded = false;
    // An event arrived since the last piece was fed; bytes fed without any event.
    bool m_event = false;
    std::size_t m_quiet = 0;
    // Bytes of text since the last tag.
    std::size_t m_run = 0;
    // Offset just after the root's end tag, counted from the start of the input.
    std::size_t m_rootEnd = 0;
    std::string m_errorText;
    const char* m_limitName = "";
    std::size_t m_limitValue = 0;
};

} // namespace RT
} // namespace MOX
