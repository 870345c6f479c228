// SPDX-License-Identifier: MIT
// The properties decoder on any text (any root accepted). A document that reads must
// write back, under its root name, to a document that sets the same properties.
#include <cstddef>
#include <cstdint>
#include <string>

#include <mox/rt/Exceptions.h>
#include <mox/rt/PropertiesImpl.h>
#include <mox/xb/PropertiesDocument.h>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MOX::RT::PropertiesImpl read;
    try {
        MOX::XB::unmarshalProperties(std::string(reinterpret_cast<const char*>(data), size), "", read);
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fuzzcheck::expectCode(e, {-1056});
        return 0;
    }
    const std::string written = MOX::XB::marshalProperties(read, "root");
    MOX::RT::PropertiesImpl again;
    MOX::XB::unmarshalProperties(written, "root", again);
    FUZZ_CHECK(again.getPropertyNames() == read.getPropertyNames());
    for (const std::string& name : read.getPropertyNames())
        FUZZ_CHECK(again.getProperty(name, "\x01unset") == read.getProperty(name, "\x01unset"));
    return 0;
}
