// SPDX-License-Identifier: MIT
// Identities built from fuzzed texts in fuzzed formats: the order must be antisymmetric
// and irreflexive, must not change once the caches are filled, a two-element set must
// find both of its elements, and conversion must give what it promises. Library
// exceptions are allowed; crashes and sanitizer reports are not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <mox/authn.h>

#include "FuzzCheck.h"

namespace {

using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

// Input: one flag byte, then newline-separated pieces: text A, text B, a free format
// name, a conversion target.
std::vector<std::string> pieces(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (out.size() < 3) {
        const std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos)
            break;
        out.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    out.push_back(start <= text.size() ? text.substr(start) : std::string());
    out.resize(4);
    return out;
}

std::string formatFor(unsigned bits, const std::string& free)
{
    static const char* const known[] = {MOX::MOX_FORMAT_QEL, MOX::MOX_FORMAT_EMAIL, MOX::MOX_FORMAT_UPN};
    return bits < 3 ? std::string(known[bits]) : free;
}

// A user or group identity of the format, or (when `parse` is set and the text has a
// slash) a QEL identity from the parsed authority and account.
SmartPointer<IIdentity> build(const std::string& format, const std::string& value, bool group, bool parse)
{
    const std::size_t slash = value.find('/');
    if (parse && slash != std::string::npos) {
        try {
            return MOX::createIdentity(MOX::parseAuthorityId(value.substr(0, slash)),
                                       MOX::parseAccountId(value.substr(slash + 1)));
        } catch (const MOX::EXCEPTIONS::InvalidArgumentException&) {
            // fall back to the unchecked form
        }
    }
    return group ? MOX::createGroupIdentity(format, value) : MOX::createUserIdentity(format, value);
}

// -1, 0, 1, or 2 when the comparison threw.
int order(const IIdentity& a, const IIdentity& b)
{
    try {
        const bool ab = a.lessThan(b);
        const bool ba = b.lessThan(a);
        if (ab && ba)
            std::abort();
        return ab ? -1 : (ba ? 1 : 0);
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (e.getCode() != -1006)
            std::abort();
        return 2;
    }
}

void checkConversion(const SmartPointer<IIdentity>& source, const std::string& target)
{
    try {
        const SmartPointer<IIdentity> converted = MOX::toIdentityInFormat(source, target);
        if (converted.get() == source.get() || converted->getFormat() != target ||
            converted->getType() != source->getType())
            std::abort();
        const std::string expected = target == MOX::MOX_FORMAT_QEL
                                         ? source->getValue()
                                         : source->getName() + "@" + source->getAuthorityName();
        if (converted->getValue() != expected)
            std::abort();
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (e.getCode() != -1075 && e.getCode() != -1006)
            std::abort();
    }
}

} // namespace

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned flags = data[0];
    const std::vector<std::string> parts = pieces(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    const SmartPointer<IIdentity> a = build(formatFor(flags & 3, parts[2]), parts[0], flags & 4, flags & 8);
    const SmartPointer<IIdentity> b = build(formatFor((flags >> 4) & 3, parts[2]), parts[1], flags & 64, flags & 128);

    if (order(*a, *a) != 0)
        std::abort();
    const int cold = order(*a, *b);
    const int warm = order(*a, *b);
    if (cold != warm || order(*b, *a) != (cold == 2 ? 2 : -cold))
        std::abort();

    if (cold != 2) {
        MOX::AUTHN::IdentitySet set{a, b};
        if (set.size() != (cold == 0 ? 1u : 2u) || !MOX::containsIdentity(a, set) || !MOX::containsIdentity(b, set))
            std::abort();
        if (!set.begin()->sharesWith(cold <= 0 ? a : b))
            std::abort();
    }
    checkConversion(a, parts[3]);
    checkConversion(b, MOX::MOX_FORMAT_EMAIL);
    checkConversion(a, MOX::MOX_FORMAT_QEL);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
