// SPDX-License-Identifier: MIT
// A tiny library that the DllManager tests load from a directory of their own.
#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

PROBE_EXPORT int mox_rt_probe_twice_plus_one(int x) { return 2 * x + 1; }

PROBE_EXPORT const char mox_rt_probe_name[] = PROBE_NAME;
