// SPDX-License-Identifier: MIT
// XmlUtils readers on arbitrary text. Input: one length byte, that many bytes of element
// name, then the text. Checks that what the readers return is consistent.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/rt/XmlUtils.h>

#include "FuzzCheck.h"

using MOX::RT::XmlUtils;

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t nameLength = std::min<std::size_t>(data[0] % 16, size - 1);
    const std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
    const std::string text(reinterpret_cast<const char*>(data + 1 + nameLength), size - 1 - nameLength);

    const std::string element = XmlUtils::GetElement(name, text);
    const std::string value = XmlUtils::GetElementValue(name, text);
    const MOX::Vector<std::string> all = XmlUtils::getElements(name, text);
    const std::string attribute = XmlUtils::GetAttributeValue(name, text, "\x01");
    (void)attribute;
    XmlUtils::IsXML(text);

    if (element.empty()) {
        check(value.empty());
        check(all.empty());
        return 0;
    }
    // The element is a piece of the text, starts with its start tag and is found again,
    // whole, when read on its own; its content lies inside it.
    check(text.find(element) != std::string::npos);
    check(element.compare(0, name.size() + 1, "<" + name) == 0);
    check(element.back() == '>');
    check(XmlUtils::GetElement(name, element) == element);
    check(XmlUtils::GetElementValue(name, element) == value);
    check(element.find(value) != std::string::npos);
    check(!all.empty() && all.front() == element);
    for (const std::string& e : all)
        check(text.find(e) != std::string::npos && XmlUtils::GetElement(name, e) == e);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
