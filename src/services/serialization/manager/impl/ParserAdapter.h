// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/ErrorRecord.h>

#include "xmlinput/XmlFeeder.h"

namespace MOX {
namespace XB {

class XBType;

/// The event side of a decode buffer: the generic decode handlers that fill document
/// objects by walking their schema descriptions, over one input (an in-memory text or
/// a stream) that an XmlFeeder hands to expat.
///
/// Each open element being decoded has a frame (its type and object); the frame stack
/// plays the part of the per-element handler objects with their level counters. The
/// feeder passes events only while the feed is active, so events that expat delivers
/// after a stop never reach document objects.
class ParserAdapter : private RT::XmlFeeder::Events {
public:
    ParserAdapter(const char* data, std::size_t size, const DecodeLimits& limits);
    ParserAdapter(std::istream& input, const DecodeLimits& limits);
    ~ParserAdapter();
    ParserAdapter(const ParserAdapter&) = delete;
    ParserAdapter& operator=(const ParserAdapter&) = delete;

    bool initialised() const noexcept { return m_feeder != nullptr && m_feeder->ready(); }
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

    void onStart(const char* name, const char** attributes) override;
    void onEnd() override;
    void onText(const char* text, int length) override;
    void onCDataStart() override { m_inCData = true; }

    void recordOutcome(RT::XmlFeeder::Outcome outcome);
    void readAttributes(const XBType& type, void* object, const char** attributes);
    void record(int status, std::vector<std::string> parameters);

    std::unique_ptr<RT::XmlFeeder> m_feeder;
    const char* m_data = "";
    std::size_t m_size = 0;
    std::istream* m_input = nullptr;
    DecodeLimits m_limits;

    // State of the running decode.
    ErrorRecord* m_errors = nullptr;
    const std::string* m_rootName = nullptr;
    const XBType* m_rootType = nullptr;
    void* m_rootObject = nullptr;
    int m_skipLevel = 0;
    bool m_inCData = false;
    std::string m_text;
    std::vector<Frame> m_frames;
};

} // namespace XB
} // namespace MOX
