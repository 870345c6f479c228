// The properties decoder on any text (any root accepted). A document that reads must
// write back, under its root name, to a document that sets the same properties.
#include <cstddef>
#include <cstdint>
#include <string>

#include <mox/rt/Exceptions.h>
#include <mox/rt/PropertiesImpl.h>
#include <mox/xb/PropertiesDocument.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MOX::RT::PropertiesImpl read;
    try {
        MOX::XB::unmarshalProperties(std::string(reinterpret_cast<const char*>(data), size), "", read);
    } catch (const MOX::EXCEPTIONS::MoxException&) {
        return 0;
    }
    const std::string written = MOX::XB::marshalProperties(read, "root");
    MOX::RT::PropertiesImpl again;
    MOX::XB::unmarshalProperties(written, "root", again);
    if (again.getPropertyNames() != read.getPropertyNames())
        __builtin_trap();
    for (const std::string& name : read.getPropertyNames())
        if (again.getProperty(name, "\x01unset") != read.getProperty(name, "\x01unset"))
            __builtin_trap();
    return 0;
}
