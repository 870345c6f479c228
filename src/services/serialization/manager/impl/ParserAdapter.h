// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <istream>
#include <string>
#include <vector>

#include <expat.h>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/ErrorRecord.h>

namespace MOX {
namespace XB {

class XBType;

/// The expat side of a decode buffer: one parser (no namespace processing) over one
/// input text, and the generic decode handlers that fill document objects by walking
/// their schema descriptions.
///
/// Each open element being decoded has a frame (its type and object); the frame stack
/// plays the part of the per-element handler objects with their level counters.
/// Every expat callback first checks that parsing is still active, so events that
/// expat delivers after a stop never reach document objects.
class ParserAdapter {
public:
    ParserAdapter(const char* data, std::size_t size, const DecodeLimits& limits);
    ParserAdapter(std::istream& input, const DecodeLimits& limits);
    ~ParserAdapter();
    ParserAdapter(const ParserAdapter&) = delete;
    ParserAdapter& operator=(const ParserAdapter&) = delete;

    bool initialised() const noexcept { return m_parser != nullptr; }
    /// Parses the whole input into `object`; records errors into `errors`. Uses up the
    /// parser. Returns 0 or the first recorded status.
    int run(ErrorRecord& errors, const std::string& rootName, const XBType& type, void* object);

    const DecodeLimits& limits() const noexcept { return m_limits; }
    const char* data() const noexcept { return m_data; }
    std::size_t size() const noexcept { return m_size; }

private:
    struct Frame {
        const XBType* type;
        void* object;
    };

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes);
    static void XMLCALL onEnd(void* self, const XML_Char* name);
    static void XMLCALL onCharacters(void* self, const XML_Char* text, int length);
    static void XMLCALL onCDataStart(void* self);
    static void XMLCALL onCDataEnd(void* self);
    static void XMLCALL onDoctype(void* self, const XML_Char* name, const XML_Char* sysid,
                                  const XML_Char* pubid, int hasInternalSubset);

    bool active() const noexcept;
    XML_Status parseMemory();
    XML_Status parseStream();
    bool quietTooLong(std::size_t fed) noexcept;
    void keepRest(const char* chunk, std::size_t size, std::size_t chunkStart);
    void startElement(const char* name, const char** attributes);
    void endElement();
    void characters(const char* text, int length);
    void readAttributes(const XBType& type, void* object, const char** attributes);
    void record(int status, std::vector<std::string> parameters);
    void fatal(int status, std::vector<std::string> parameters);
    void syntaxError();

    XML_Parser m_parser = nullptr;
    const char* m_data = "";
    std::size_t m_size = 0;
    std::istream* m_input = nullptr;
    DecodeLimits m_limits;

    // State of the running decode.
    ErrorRecord* m_errors = nullptr;
    const std::string* m_rootName = nullptr;
    const XBType* m_rootType = nullptr;
    void* m_rootObject = nullptr;
    int m_depth = 0;
    int m_skipLevel = 0;
    bool m_inCData = false;
    bool m_finished = false;
    // An event arrived since the last piece was fed; bytes fed without any event.
    bool m_event = false;
    std::size_t m_quiet = 0;
    // Offset just after the root's end tag, counted from the start of the input.
    std::size_t m_rootEnd = 0;
    std::string m_text;
    std::vector<Frame> m_frames;
};

} // namespace XB
} // namespace MOX
