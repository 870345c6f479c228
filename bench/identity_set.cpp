// SPDX-License-Identifier: MIT
// Identity-set membership, the platform's access-control test, against a
// std::set<std::string> lookup of the same value texts, in the same run.
//
// The set holds 100,000 identities: QEL and EMAIL, users and groups, over a few
// authorities. Probes are separate identity objects with warm caches (as a caller's
// own identity is after its first check): hits with the members' texts, misses with
// texts of absent principals, and cross-format hits (EMAIL probes of QEL members and
// the reverse), which the string set cannot answer at all.
//
// Printed at the end: containsIdentity CPU time per lookup / std::set<std::string>::find
// CPU time per lookup, for hits and for misses (CPU time, because the machines these run
// on are shared and wall time there mostly measures the neighbours).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <mox/authn.h>

#include "RatioReporter.h"

namespace {

using MOX::AUTHN::IdentitySet;
using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

constexpr int kMembers = 100000;
constexpr int kProbes = 8192;
constexpr int kAuthorities = 7;

std::string authorityName(int i) { return "CORP" + std::to_string(i % kAuthorities); }

// Principal i: a user or a group, written in QEL or EMAIL. Names differ per principal.
SmartPointer<IIdentity> principal(int i, bool crossFormat = false)
{
    const bool group = (i / 2) % 2 == 1;
    const bool qel = (i % 2 == 0) != crossFormat;
    const std::string name = (group ? "team" : "user") + std::to_string(i);
    if (qel) {
        const auto authority = MOX::createAuthorityId("NT", authorityName(i));
        return group ? MOX::createGroupIdentity(authority, name) : MOX::createUserIdentity(authority, name);
    }
    const std::string email = name + "@" + authorityName(i);
    return group ? MOX::createGroupIdentity(MOX::MOX_FORMAT_EMAIL, email)
                 : MOX::createUserIdentity(MOX::MOX_FORMAT_EMAIL, email);
}

void warm(const SmartPointer<IIdentity>& identity)
{
    identity->getName();
    identity->getAuthorityName();
}

struct Fixture {
    IdentitySet identities;
    std::set<std::string> texts;
    std::vector<SmartPointer<IIdentity>> hits, misses, crossHits;
    std::vector<std::string> hitTexts, missTexts;

    Fixture()
    {
        std::vector<int> order(kMembers);
        for (int i = 0; i < kMembers; ++i)
            order[i] = i;
        std::mt19937 random(20261205);
        std::shuffle(order.begin(), order.end(), random);
        for (int i : order) {
            const SmartPointer<IIdentity> member = principal(i);
            warm(member);
            identities.insert(member);
            texts.insert(member->getValue());
        }
        std::uniform_int_distribution<int> pick(0, kMembers - 1);
        for (int n = 0; n < kProbes; ++n) {
            const int i = pick(random);
            hits.push_back(principal(i));
            crossHits.push_back(principal(i, true));
            misses.push_back(principal(kMembers + i));
            hitTexts.push_back(hits.back()->getValue());
            missTexts.push_back(misses.back()->getValue());
        }
        for (const auto* probes : {&hits, &misses, &crossHits})
            for (const auto& probe : *probes)
                warm(probe);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

template <class Probe, class Lookup>
void run(benchmark::State& state, const std::vector<Probe>& probes, bool expected, Lookup lookup)
{
    std::size_t n = 0;
    for (auto _ : state) {
        const bool found = lookup(probes[n]);
        if (found != expected) {
            state.SkipWithError("wrong membership answer");
            break;
        }
        benchmark::DoNotOptimize(found);
        n = (n + 1) % probes.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_IdentitySet_Hit(benchmark::State& state)
{
    Fixture& f = fixture();
    run(state, f.hits, true, [&f](const SmartPointer<IIdentity>& p) { return MOX::containsIdentity(p, f.identities); });
}

void BM_StringSet_Hit(benchmark::State& state)
{
    Fixture& f = fixture();
    run(state, f.hitTexts, true, [&f](const std::string& t) { return f.texts.find(t) != f.texts.end(); });
}

void BM_IdentitySet_Miss(benchmark::State& state)
{
    Fixture& f = fixture();
    run(state, f.misses, false, [&f](const SmartPointer<IIdentity>& p) { return MOX::containsIdentity(p, f.identities); });
}

void BM_StringSet_Miss(benchmark::State& state)
{
    Fixture& f = fixture();
    run(state, f.missTexts, false, [&f](const std::string& t) { return f.texts.find(t) != f.texts.end(); });
}

void BM_IdentitySet_CrossFormatHit(benchmark::State& state)
{
    Fixture& f = fixture();
    run(state, f.crossHits, true,
        [&f](const SmartPointer<IIdentity>& p) { return MOX::containsIdentity(p, f.identities); });
}

BENCHMARK(BM_IdentitySet_Hit);
BENCHMARK(BM_StringSet_Hit);
BENCHMARK(BM_IdentitySet_Miss);
BENCHMARK(BM_StringSet_Miss);
BENCHMARK(BM_IdentitySet_CrossFormatHit);

} // namespace

int main(int argc, char** argv)
{
    return benchratio::runWithRatios(argc, argv, {{"BM_IdentitySet_Hit", "BM_StringSet_Hit"},
                                                  {"BM_IdentitySet_Miss", "BM_StringSet_Miss"},
                                                  {"BM_IdentitySet_CrossFormatHit", "BM_StringSet_Hit"}});
}
