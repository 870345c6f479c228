// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Cache locks: scoped access to a persisted object guarded by a mutex and a local file.
#include <mox/rt.h>

#include <mox/persist/CacheLock.h>
#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>
