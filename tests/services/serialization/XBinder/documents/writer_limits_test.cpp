// SPDX-License-Identifier: MIT
// Under any limits a writer either refuses (-1055) or writes a document that its reader
// reads back equal under the same limits.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <mox/mox.h>

namespace {

using MOX::XB::DecodeLimits;

// Restores the process-wide limits when a test ends.
struct LimitsScope {
    const DecodeLimits saved = DecodeLimits::defaults();
    explicit LimitsScope(const DecodeLimits& limits) { DecodeLimits::setDefaults(limits); }
    ~LimitsScope() { DecodeLimits::setDefaults(saved); }
};

// "refused" for -1055 from the writer, else what the reader gives back (or its failure).
std::string writeThenRead(const std::function<std::string()>& write, const std::function<std::string(const std::string&)>& read)
{
    std::string written;
    try {
        written = write();
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return e.getCode() == -1055 ? "refused" : "writer failed: " + std::string(e.what());
    }
    try {
        return read(written);
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return "reader refused what was written: " + std::string(e.what());
    }
}

} // namespace

TEST(DocumentLimits, NoWriterWritesWhatItsReaderRefuses)
{
    using namespace MOX;
    auto attribute = Attributes::createAttribute(Attributes::createQualifiedName("n", "t", "s"));
    attribute->addValue("v");
    Set<RT::SmartPointer<AUTHN::IIdentity>> identities;
    identities.insert(createUserIdentity("QEL", "auth/user"));
    RT::PropertiesImpl properties;
    properties.setProperty("k", "v");

    const struct { const char* document; std::function<std::string()> write; std::function<std::string(const std::string&)> read; } writers[] = {
        {"attributes", [&] { return Attributes::marshal(Attributes::AttributeList{attribute}); },
         [](const std::string& x) { const auto a = Attributes::unmarshal(x).at(0); return a->getQualifiedName()->getScope() + a->getValues().at(0); }},
        {"identities", [&] { return marshalIdentities(identities); },
         [](const std::string& x) { return (*parseIdentities(x).begin())->getName(); }},
        {"properties", [&] { return XB::marshalProperties(properties, "p"); },
         [](const std::string& x) { RT::PropertiesImpl p; XB::unmarshalProperties(x, "p", p); return p.getProperty("k", "?"); }},
    };
    const DecodeLimits base;
    const struct { const char* name; DecodeLimits limits; } cases[] = {
        {"depth 1", {1, base.maxErrors, base.maxTextBytes, base.maxAttributes}},
        {"depth 2", {2, base.maxErrors, base.maxTextBytes, base.maxAttributes}},
        {"1 attribute", {base.maxDepth, base.maxErrors, base.maxTextBytes, 1}},
        {"2 attributes", {base.maxDepth, base.maxErrors, base.maxTextBytes, 2}},
        {"defaults", base},
    };
    std::string unlimited[3];
    for (std::size_t i = 0; i < 3; ++i)
        unlimited[i] = writeThenRead(writers[i].write, writers[i].read);
    for (const auto& c : cases) {
        const LimitsScope scope(c.limits);
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(std::string(c.name) + ", " + writers[i].document);
            const std::string back = writeThenRead(writers[i].write, writers[i].read);
            EXPECT_TRUE(back == "refused" || back == unlimited[i]) << back;
        }
    }
    // The tight limits do refuse: each document needs depth 2 or more.
    const LimitsScope scope({1, base.maxErrors, base.maxTextBytes, base.maxAttributes});
    EXPECT_EQ(writeThenRead(writers[0].write, writers[0].read), "refused");
}
