// SPDX-License-Identifier: MIT
// Every text the library's writers produce from fuzzed values is checked by a second,
// independent XML parser (pugixml) and read back equal by the library.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include <mox/mox.h>

#include "FuzzCheck.h"

namespace {

using MOX::EXCEPTIONS::MoxException;

// The fuzzed input cut into texts at 0xFF bytes (never part of well-formed UTF-8).
std::vector<std::string> texts(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF)
            out.emplace_back();
        else
            out.back() += static_cast<char>(data[i]);
    }
    while (out.size() < 4)
        out.emplace_back("x");
    return out;
}

// A written text must be well-formed for pugixml too.
void wellFormed(const std::string& xml)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_declaration,
                                                          pugi::encoding_utf8);
    if (!result)
        std::fprintf(stderr, "pugixml: %s in %s\n", result.description(), xml.c_str());
    FUZZ_CHECK(result);
}

template <class Write, class Check>
void through(Write write, Check check)
{
    std::string xml;
    try {
        xml = write();
    } catch (const MoxException& e) {
        FUZZ_CHECK(e.getCode() == -1055 || e.getCode() == -1006);
        return;
    }
    wellFormed(xml);
    check(xml);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace MOX;
    const std::vector<std::string> t = texts(data, size);
    through([&] { return Attributes::createQualifiedName(t[0], t[1], t[2])->marshal(); },
            [&](const std::string& xml) {
                const auto q = Attributes::parseQualifiedName(xml);
                FUZZ_CHECK(q->getName() == t[0] && q->getScope() == t[2]);
            });
    through([&] { return createProductId(t[0], t[1], t[2])->marshal(); }, [&](const std::string& xml) {
        const auto p = parseProductId(xml);
        FUZZ_CHECK(p->getName() == t[0] && p->getComponent() == t[1] && p->getVersion() == t[2]);
    });
    through([&] { return createInterfaceId(t[0], 3)->toString(); },
            [&](const std::string& xml) { FUZZ_CHECK(parseInterfaceId(xml)->getName() == t[0]); });
    through([&] { RT::PropertiesImpl p; p.setProperty(t[0], t[1]); return p.marshal(); },
            [&](const std::string& xml) {
                RT::PropertiesImpl p;
                p.unmarshal(xml);
                FUZZ_CHECK(p.getProperty(t[0], "\xFF") == t[1]);
            });
    through(
        [&] {
            auto a = Attributes::createAttribute(Attributes::createQualifiedName(t[0], t[1], t[2]));
            for (std::size_t i = 3; i < t.size(); ++i)
                a->addValue(t[i]);
            return Attributes::marshal(Attributes::AttributeList{a});
        },
        [&](const std::string& xml) {
            const auto list = Attributes::unmarshal(xml);
            FUZZ_CHECK(list.size() == 1 && list[0]->getValues() == std::vector<std::string>(t.begin() + 3, t.end()));
            FUZZ_CHECK(list[0]->getQualifiedName()->getName() == t[0]);
        });
    return 0;
}
