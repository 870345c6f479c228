// SPDX-License-Identifier: MIT
#ifndef MOX_VERSION_H
#define MOX_VERSION_H
/** @file
 * The version of the MOX core data library, usable from C and C++. The build checks
 * that these numbers are the project's version. */

/** The major version: changes break callers. */
#define MOX_VERSION_MAJOR 2
/** The minor version: additions that keep callers working. */
#define MOX_VERSION_MINOR 1
/** The patch level: fixes only. */
#define MOX_VERSION_PATCH 0
/** The build number of a release. */
#define MOX_VERSION_TWEAK 0
/** The version as text. */
#define MOX_VERSION_STRING "2.1.0.0"
/** The version as one comparable number: major * 10000 + minor * 100 + patch. */
#define MOX_VERSION_NUMBER (MOX_VERSION_MAJOR * 10000 + MOX_VERSION_MINOR * 100 + MOX_VERSION_PATCH)

#endif
