// SPDX-License-Identifier: MIT
// LoaderId::unmarshal on arbitrary text: never throws, and what it read writes an XML
// form that reads back to the same loader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/class.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MOX::LoaderId loader("before", "before.so");
    loader.unmarshal(text);
    if (loader.isDefined() == loader.isEmpty())
        std::abort();
    const std::string xml = loader.marshal();
    MOX::LoaderId again;
    again.unmarshal(xml);
    if (again.getName() != loader.getName() || again.getFile() != loader.getFile() || again.toString() != xml)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
