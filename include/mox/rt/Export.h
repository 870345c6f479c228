// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Symbol visibility for the runtime and the core library. Everything is built with
/// -fvisibility=hidden; only declarations marked with these macros are exported.

/// @def MOX_HELPER_EXPORT
/// Marks a declaration as exported by the shared library being built.
/// @def MOX_HELPER_IMPORT
/// Marks a declaration as imported from a shared library by its users.
#if defined(_WIN32)
#  define MOX_HELPER_EXPORT __declspec(dllexport)
#  define MOX_HELPER_IMPORT __declspec(dllimport)
#else
#  define MOX_HELPER_EXPORT __attribute__((visibility("default")))
#  define MOX_HELPER_IMPORT __attribute__((visibility("default")))
#endif

/// Marks a declaration exported from libmox-rt.so.
#if defined(MOX_RT_BUILDING)
#  define MOX_RT_API MOX_HELPER_EXPORT
#else
#  define MOX_RT_API MOX_HELPER_IMPORT
#endif

/// Marks a declaration exported from libmox.so.
#if defined(MOX_BUILDING)
#  define MOX_API MOX_HELPER_EXPORT
#else
#  define MOX_API MOX_HELPER_IMPORT
#endif
