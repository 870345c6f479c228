// SPDX-License-Identifier: MIT
// Must not compile: see CMakeLists.txt next to it.
#include "data/time/DateTimeImpl.h"  // a linked area's private header: found
#include "data/class/ClassIdImpl.h"  // an unlinked area's private header: not found
