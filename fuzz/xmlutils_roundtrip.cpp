// SPDX-License-Identifier: MIT
// XmlUtils writers to readers: whatever value is written as an attribute or as escaped
// content reads back exactly. Input: a name selector byte, then the value; the value is
// reduced to text XML can carry (valid UTF-8 without the control characters XML forbids).
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

// Keeps the characters XML 1.0 allows, dropping invalid UTF-8 and forbidden code points.
std::string xmlText(const uint8_t* p, std::size_t n)
{
    std::string out;
    std::size_t i = 0;
    while (i < n) {
        const uint8_t c = p[i];
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > n) {
            ++i;
            continue;
        }
        uint32_t cp = len == 1 ? c : len == 2 ? c & 0x1f : len == 3 ? c & 0x0f : c & 0x07;
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xc0) != 0x80)
                ok = false;
            cp = (cp << 6) | (p[i + k] & 0x3f);
        }
        const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= minimum[len] && cp <= 0x10ffff && !(cp >= 0xd800 && cp <= 0xdfff) &&
             (cp >= 0x20 || cp == 0x9 || cp == 0xa || cp == 0xd) && cp != 0xfffe && cp != 0xffff;
        if (ok)
            out.append(reinterpret_cast<const char*>(p + i), len);
        i += ok ? len : 1;
    }
    return out;
}

} // namespace

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const char* const names[] = {"a", "item", "p:q", "PROPERTY", "x-y.z_1", "\xc3\xa9l\xc3\xa9ment"};
    const std::string name = names[data[0] % 6];
    const std::string value = xmlText(data + 1, size - 1);

    const std::string element = XmlUtils::ToElement(
        name, XmlUtils::Escape(value), {XmlUtils::ToAttribute("k", value), XmlUtils::ToAttribute("v", "2")});
    check(XmlUtils::GetAttributeValue("k", element, "\x01") == value);
    check(XmlUtils::GetAttributeValue("v", element) == "2");
    check(XmlUtils::GetElement(name, element) == element);
    check(XmlUtils::GetElementValue(name, element) == XmlUtils::Escape(value));
    // The same inside a document, after another element of the same name.
    const std::string doc = "<?xml version=\"1.0\"?><r><" + name + "/>" + element + "</r>";
    const MOX::Vector<std::string> all = XmlUtils::getElements(name, doc);
    check(all.size() == 2 && all[1] == element);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
