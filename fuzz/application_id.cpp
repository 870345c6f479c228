// SPDX-License-Identifier: MIT
// parseApplicationId on arbitrary text: a parsed id is registered, bound to an
// application, and its own XML form parses back to the very same instance.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/app.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MOX::RT::SmartPointer<MOX::APP::IApplicationId> id;
    try {
        id = MOX::parseApplicationId(text);
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (e.getCode() != -1006)
            std::abort();
        return 0;
    }
    if (id.isNull() || id->getApplication().isNull() || !id->getApplication()->getApplicationId().sharesWith(id))
        std::abort();
    const std::string xml = id->marshal();
    if (id->toString() != xml)
        std::abort();
    const auto again = MOX::parseApplicationId(xml);
    if (!again.sharesWith(id) || again->marshal() != xml)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
