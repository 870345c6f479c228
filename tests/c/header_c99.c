// SPDX-License-Identifier: MIT
/* The public C header alone, compiled as strict C99. */
#include <mox/mox_c.h>
#include <mox/version.h>

int mox_header_check(void) { return MOX_VERSION_MAJOR + (int)sizeof(mox_error); }
