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

#include <mox/rt/Exceptions.h>

namespace fuzzcheck {

// Runs one input's checks; a refusal of hostile text ends them: -1056 (a reader met text
// that is not well-formed XML) or -1055 (a writer met text XML 1.0 cannot carry). Any
// other exception escapes and is a crash.
template <class Check>
int acceptingXmlRefusals(Check check)
{
    try {
        return check();
    } catch (const MOX::EXCEPTIONS::SerializationException& e) {
        FUZZ_CHECK(e.getCode() == -1055 || e.getCode() == -1056);
        return 0;
    }
}

} // namespace fuzzcheck
