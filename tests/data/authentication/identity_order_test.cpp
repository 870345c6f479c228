// SPDX-License-Identifier: MIT
// The identity order against a reference written from its rules: random identities of
// every format, wildcard mixtures and underivable authorities included, inserted in
// random orders, give a set with the same elements in the same order (and the same
// failures) as a set under the reference comparison.
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IIdentity.h>

using MOX::AUTHN::IIdentity;
using MOX::AUTHN::IdentitySet;
using MOX::RT::SmartPointer;

namespace {

// The authority of an identity as the rules give it; nullopt when it cannot be derived.
struct Authority {
    std::string format, name;
};
std::optional<Authority> authorityOf(const IIdentity& id)
{
    const std::string& v = id.getValue();
    Authority a;
    if (id.getFormat() == "QEL") {
        const auto slash = v.find('/'), colon = v.find(':');
        if (slash != std::string::npos && colon != std::string::npos) {
            a.format = v.substr(0, colon);
            if (colon < slash)
                a.name = v.substr(colon + 1, slash - colon - 1);
        }
    } else {
        a.format = "UNKNOWN";
        const auto at = v.find('@');
        if ((id.getFormat() == "EMAIL" || id.getFormat() == "UPN") && at != std::string::npos)
            a.name = v.substr(at + 1);
    }
    if (a.format.empty() || a.name.empty())
        return std::nullopt;
    const auto backslash = a.name.find('\\');
    if (backslash == 0)
        a.name = a.name.size() > 2 ? a.name.substr(2) : "";
    else if (backslash != std::string::npos)
        return std::nullopt;
    return a;
}

std::string nameOf(const IIdentity& id)
{
    const std::string& v = id.getValue();
    if (id.getFormat() == "QEL") {
        const auto slash = v.find('/');
        if (slash == std::string::npos)
            return v;
        const auto colon = v.find(':', slash);
        return v.substr(colon != std::string::npos ? colon + 1 : slash + 1);
    }
    if (id.getFormat() == "EMAIL" || id.getFormat() == "UPN") {
        const auto at = v.find('@');
        return at == std::string::npos ? "" : v.substr(0, at);
    }
    return "";
}

int wildcard(const std::string& a, const std::string& b, const char* any)
{
    const int r = a.compare(b);
    return r != 0 && (a == any || b == any) ? 0 : r;
}

// Steps: equal texts compare type then format; otherwise name, type, format (QEL
// matches any), then authority name and authority format (UNKNOWN matches any).
int reference(const IIdentity& a, const IIdentity& b)
{
    if (a.getValue() == b.getValue()) {
        const int r = a.getType().compare(b.getType());
        return r != 0 ? r : a.getFormat().compare(b.getFormat());
    }
    int r = nameOf(a).compare(nameOf(b));
    if (r == 0)
        r = a.getType().compare(b.getType());
    if (r == 0)
        r = wildcard(a.getFormat(), b.getFormat(), "QEL");
    if (r != 0)
        return r;
    const auto x = authorityOf(a), y = authorityOf(b);
    if (!x || !y)
        throw std::invalid_argument("no authority");
    r = x->name.compare(y->name);
    return r != 0 ? r : wildcard(x->format, y->format, "UNKNOWN");
}

struct ReferenceLess {
    bool operator()(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b) const
    {
        return !a.sharesWith(b) && reference(*a, *b) < 0;
    }
};

// A small alphabet, so that names, authorities and texts collide often: two names share
// their first eight bytes, and one text read as QEL and as EMAIL gives different names.
SmartPointer<IIdentity> randomIdentity(std::mt19937& random)
{
    const auto pick = [&](std::initializer_list<const char*> texts) {
        return std::string(texts.begin()[random() % texts.size()]);
    };
    const std::string name = pick({"a", "b", "ab", "longname1", "longname2"}), domain = pick({"C", "D", "\\\\C", "\\"});
    const std::string authorityFormat = pick({"NT", "LDAP", "UNKNOWN"});
    switch (random() % 9) {
    case 0: return MOX::createUserIdentity(MOX::createAuthorityId(authorityFormat, domain), name);
    case 1: return MOX::createGroupIdentity(MOX::createAuthorityId(authorityFormat, domain), name);
    case 2:
        return MOX::createIdentity(MOX::createAuthorityId(authorityFormat, pick({"C", "D"})),
                                   MOX::AUTHN::createAccountId(pick({"Printers", "User"}), name));
    case 3: return MOX::createUserIdentity("QEL", pick({"NT:C/", "NT:/", "NTC/", "C/x:", ":C/", "NT:C"}) + name);
    case 4: return MOX::createUserIdentity(pick({"EMAIL", "UPN"}), name + "@" + pick({"C", "\\\\C", "C\\x", "\\"}));
    case 5: return MOX::createGroupIdentity(pick({"EMAIL", "UPN"}), name + pick({"@C", "@D", ""}));
    case 6: return MOX::createUserIdentity(pick({"X500", "email", ""}), name);
    case 7: return MOX::createUserIdentity(pick({"QEL", "EMAIL"}), pick({"b/", "NT:C/"}) + name + "@C");
    default: return MOX::createGroupIdentity("EMAIL", name + "@C");
    }
}

// What `f` returns, or -1 when it throws.
template <class F>
int outcome(F&& f)
{
    try {
        return f() ? 1 : 0;
    } catch (const std::exception&) {
        return -1;
    }
}

} // namespace

TEST(IdentityOrder, SetsMatchASetUnderTheReferenceOrder)
{
    std::mt19937 random(20261206);
    for (int round = 0; round < 400; ++round) {
        std::vector<SmartPointer<IIdentity>> ids;
        for (int i = 0; i < 1 + static_cast<int>(random() % 24); ++i)
            ids.push_back(randomIdentity(random));
        IdentitySet ours;
        std::set<SmartPointer<IIdentity>, ReferenceLess> theirs;
        for (const auto& id : ids) // each insert adds, keeps the earlier one, or fails in both
            ASSERT_EQ(outcome([&] { return ours.insert(id).second; }), outcome([&] { return theirs.insert(id).second; }))
                << "round " << round << ": " << id->getFormat() << " " << id->getValue();
        ASSERT_EQ(ours.size(), theirs.size()) << "round " << round;
        auto it = theirs.begin();
        for (const auto& id : ours)
            EXPECT_TRUE(id.sharesWith(*it++)) << "round " << round << ": " << id->getValue();
        for (const auto& id : ids)
            EXPECT_EQ(outcome([&] { return MOX::containsIdentity(id, ours); }),
                      outcome([&] { return theirs.find(id) != theirs.end(); }))
                << "round " << round;
    }
}
