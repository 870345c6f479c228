// SPDX-License-Identifier: MIT
// Every text the library's writers produce from fuzzed values and names is read by a
// second, independent XML parser (libxml2: no recovery, no network, no entities loaded),
// which must find it well-formed and read back, name for name and value for value, what
// was written. A writer may refuse instead (-1055 for a value, -1006 for a name).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <libxml/parser.h>
#include <libxml/tree.h>

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
    while (out.size() < 5)
        out.emplace_back("x");
    return out;
}

std::string text(xmlChar* owned)
{
    std::string out = owned ? reinterpret_cast<const char*>(owned) : "";
    xmlFree(owned);
    return out;
}

std::string qualified(const xmlNs* ns, const xmlChar* name)
{
    std::string out = ns && ns->prefix ? reinterpret_cast<const char*>(ns->prefix) + std::string(":") : "";
    return out + reinterpret_cast<const char*>(name);
}

// What libxml2 read: "element", "element@attribute=value" (namespace declarations
// included) and, for an element without child elements, "element#text".
void flatten(xmlNode* node, std::set<std::string>& out)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        const std::string element = qualified(node->ns, node->name);
        out.insert(element);
        for (xmlAttr* a = node->properties; a; a = a->next)
            out.insert(element + "@" + qualified(a->ns, a->name) + "=" + text(xmlNodeGetContent(reinterpret_cast<xmlNode*>(a))));
        for (xmlNs* ns = node->nsDef; ns; ns = ns->next)
            out.insert(element + "@xmlns" + (ns->prefix ? ":" + std::string(reinterpret_cast<const char*>(ns->prefix)) : "") + "=" +
                       reinterpret_cast<const char*>(ns->href ? ns->href : BAD_CAST ""));
        bool leaf = true;
        for (xmlNode* c = node->children; c; c = c->next)
            leaf = leaf && c->type != XML_ELEMENT_NODE;
        if (leaf)
            out.insert(element + "#" + text(xmlNodeGetContent(node)));
        flatten(node->children, out);
    }
}

// Parses `xml` with libxml2; a text it finds not well-formed is a finding.
std::set<std::string> readBack(const std::string& xml)
{
    xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8",
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) {
        const xmlError* error = xmlGetLastError();
        std::fprintf(stderr, "libxml2: %s in %s\n", error && error->message ? error->message : "?", xml.c_str());
    }
    FUZZ_CHECK(doc != nullptr);
    std::set<std::string> read;
    flatten(xmlDocGetRootElement(doc), read);
    xmlFreeDoc(doc);
    return read;
}

// Writes, then checks that every expected item was read back (an empty attribute value
// may be left out by the writer: `optional` items are checked only when not empty).
template <class Write>
void through(Write write, const std::vector<std::string>& expected, const std::vector<std::pair<std::string, std::string>>& optional = {})
{
    std::string xml;
    try {
        xml = write();
    } catch (const MoxException& e) {
        fuzzcheck::expectCode(e, {-1055, -1006});
        return;
    }
    const std::set<std::string> read = readBack(xml);
    for (const std::string& item : expected) {
        if (!read.count(item))
            std::fprintf(stderr, "not read back: %s in %s\n", item.c_str(), xml.c_str());
        FUZZ_CHECK(read.count(item) == 1);
    }
    for (const auto& item : optional) {
        const bool found = item.second.empty() || read.count(item.first + item.second) == 1;
        if (!found)
            std::fprintf(stderr, "not read back: %s%s in %s\n", item.first.c_str(), item.second.c_str(), xml.c_str());
        FUZZ_CHECK(found);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    xmlInitParser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace MOX;
    using RT::XmlUtils;
    const std::vector<std::string> t = texts(data, size);
    through([&] { return Attributes::createQualifiedName(t[0], t[1], t[2])->marshal(); }, {"attribute-id@name=" + t[0]},
            {{"attribute-id@format=", t[1]}, {"attribute-id@scope=", t[2]}});
    through([&] { return createProductId(t[0], t[1], t[2])->marshal(); },
            {"product@name=" + t[0], "product@component=" + t[1], "product@version=" + t[2]});
    through([&] { return createApplicationId(createProductId(t[0], "c", "1"), t[1])->marshal(); },
            {"app-id@name=" + t[1], "product@name=" + t[0]});
    // One registered application, its property set and removed again.
    static const auto application = getApplication(createApplicationId(createProductId("P", "c", "1"), "fuzz"));
    through([&] {
        application->setProperty(t[0], t[1]);
        std::string xml;
        try {
            xml = application->marshal();
        } catch (...) {
            application->removeProperty(t[0]);
            throw;
        }
        application->removeProperty(t[0]);
        return xml;
    }, {"app-id@name=fuzz", "PROPERTY@name=" + t[0], "PROPERTY@value=" + t[1]});
    through([&] { return createInterfaceId(t[0], 3)->toString(); }, {"interface-id@class=" + t[0], "interface-id@version=3"});
    through([&] { return marshalClassId(createClassId(t[0], 2)); }, {"class-id@class=" + t[0], "class-id@version=2"});
    through([&] { return LoaderId(t[0], t[1]).marshal(); }, {}, {{"loader-id@name=", t[0]}, {"loader-id@file=", t[1]}});
    through([&] { RT::PropertiesImpl p; p.setProperty(t[0], t[1]); return p.marshal(); },
            {"PROPERTY@name=" + t[0], "PROPERTY@value=" + t[1]});
    // Caller-supplied names: a root name, an element name and an attribute name.
    through([&] { RT::PropertiesImpl p; p.setProperty(t[1], t[2]); return XB::marshalProperties(p, t[0]); },
            {t[0], "property@name=" + t[1], "property@value=" + t[2]});
    // (A namespace declaration is XML 1.0 for this platform's readers, not for libxml2's
    // namespace rules: only its well-formedness is checked.)
    const bool declaration = t[2].compare(0, 5, "xmlns") == 0 && (t[2].size() == 5 || t[2][5] == ':');
    through([&] { return XmlUtils::ToElement(t[0], XmlUtils::Escape(t[1]), {XmlUtils::ToAttribute(t[2], t[3])}); },
            declaration ? std::vector<std::string>{} : std::vector<std::string>{t[0] + "@" + t[2] + "=" + t[3]},
            {{t[0] + "#", declaration ? "" : t[1]}});
    through(
        [&] {
            auto a = Attributes::createAttribute(Attributes::createQualifiedName(t[0], t[1], t[2]));
            for (std::size_t i = 3; i < t.size(); ++i)
                a->addValue(t[i]);
            return Attributes::marshal(Attributes::AttributeList{a});
        },
        [&] {
            std::vector<std::string> values{"attribute@name=" + t[0]};
            for (std::size_t i = 3; i < t.size(); ++i)
                values.push_back("value#" + t[i]);
            return values;
        }(),
        {{"attribute@type=", t[1]}, {"attribute@scope=", t[2]}});
    // Identities: one of another account type travels by its parts, users and groups by
    // their text.
    RT::SmartPointer<AUTHN::IIdentity> identity;
    try {
        identity = createIdentity(createAuthorityId(t[0], t[1]), AUTHN::createAccountId(t[2], t[3]));
    } catch (const EXCEPTIONS::InvalidArgumentException&) {
        return 0; // values the factories refuse: the identity targets' concern
    }
    const std::string item = identity->isUser() ? "UserIdentifier" : identity->isGroup() ? "GroupIdentifier" : "identity";
    std::vector<std::string> parts{item + "#" + identity->getValue()};
    if (item == "identity") {
        try {
            parts = {"identity@format=" + identity->getAuthorityFormat(), "identity@authority=" + identity->getAuthorityName(),
                     "identity@account=" + identity->getName(), "identity@type=" + identity->getType()};
        } catch (const EXCEPTIONS::InvalidArgumentException& e) {
            // An authority its own text does not give back (a format holding "/", a name
            // the leading-backslash rule emptied or left with a backslash): the identity
            // is made, and its writers refuse it as its authority getters do.
            FUZZ_CHECK(e.getCode() == -1006);
            const auto refuses = [](auto write) {
                try {
                    write();
                } catch (const EXCEPTIONS::InvalidArgumentException& w) {
                    return w.getCode() == -1006;
                }
                return false;
            };
            FUZZ_CHECK(refuses([&] { marshalIdentity(identity); }));
            FUZZ_CHECK(refuses([&] { marshalIdentities(AUTHN::IdentitySet{identity}); }));
            return 0;
        }
    }
    through([&] { return marshalIdentity(identity); }, parts);
    through([&] { AUTHN::IdentitySet set{identity}; return marshalIdentities(set); }, parts);
    return 0;
}
