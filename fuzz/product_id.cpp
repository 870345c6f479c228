// SPDX-License-Identifier: MIT
// parseProductId on arbitrary text: a named product must write and read back unchanged,
// equal to itself in the order and matching itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/app.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const auto product = MOX::parseProductId(text);
        const std::string xml = product->marshal();
        if (product->toString() != xml)
            std::abort();
        if (product->getName().empty())
            return 0; // an unnamed product reads back as an empty one (by design)
        const auto again = MOX::parseProductId(xml);
        if (again->getName() != product->getName() || again->getComponent() != product->getComponent() ||
            again->getVersion() != product->getVersion() || again->marshal() != xml)
            std::abort();
        if (product->lessThan(*again) || again->lessThan(*product) || !product->matches(again))
            std::abort();
    } catch (const MOX::EXCEPTIONS::SerializationException&) {
        throw; // malformed text: see acceptingXmlRefusals
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        // Only the empty text is refused.
        fuzzcheck::expectCode(e, {-1006});
        if (!text.empty())
            std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
