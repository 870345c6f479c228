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
