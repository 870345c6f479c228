// SPDX-License-Identifier: MIT
// A library that exists but cannot be loaded with RTLD_NOW: it needs a symbol nobody defines.
extern "C" int mox_rt_symbol_nobody_defines(int);

extern "C" __attribute__((visibility("default"))) int mox_rt_broken_entry(int x)
{
    return mox_rt_symbol_nobody_defines(x);
}
