// SPDX-License-Identifier: MIT
#pragma once
// An oracle failure in a fuzz target: names the broken expectation, then aborts so
// libFuzzer keeps the input as a crash artifact.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                                    \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

#include <algorithm>
#include <initializer_list>

#include <mox/rt/Exceptions.h>

namespace fuzzcheck {

// An exception a function may raise on hostile input must carry one of the codes that
// function documents (0 is the short form, which has none); any other is a finding.
inline void expectCode(const MOX::EXCEPTIONS::MoxException& e, std::initializer_list<int> documented)
{
    const bool known = std::find(documented.begin(), documented.end(), e.getCode()) != documented.end();
    if (!known)
        std::fprintf(stderr, "undocumented refusal: %s\n", e.what());
    FUZZ_CHECK(known);
}

// Runs one input's checks; a documented refusal ends them, any other exception is a
// finding (an undocumented code aborts, a foreign exception escapes and crashes).
template <class Check>
int acceptingRefusals(std::initializer_list<int> documented, Check check)
{
    try {
        return check();
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        expectCode(e, documented);
        return 0;
    }
}

// The refusals of hostile text: -1056 (a reader met text that is not well-formed XML) or
// -1055 (a writer met text XML 1.0 cannot carry).
template <class Check>
int acceptingXmlRefusals(Check check)
{
    return acceptingRefusals({-1055, -1056}, check);
}

} // namespace fuzzcheck
