// SPDX-License-Identifier: MIT
#ifndef MOX_LIBRARYINFO_H
#define MOX_LIBRARYINFO_H
/** @file
 * Build information of libmox, readable without the object interface (plain C names). */

#include <mox/rt/Export.h>

#ifdef __cplusplus
extern "C" {
#endif

/** A caller-allocated record of ten pointers to strings owned by the library (never
 *  free or change them), in this order. */
typedef struct LibraryInfo {
    const char* version;      /**< "2.1.0.0" */
    const char* changeNumber; /**< source revision of this build */
    const char* buildNumber;  /**< build counter of this build */
    const char* productName;  /**< "Corvane" */
    const char* shortName;    /**< "MOX" */
    const char* platform;     /**< for example "linux_gcc12_x86_64" */
    const char* buildDate;    /**< date of the build, as __DATE__ gives it */
    const char* buildTime;    /**< time of the build, as __TIME__ gives it */
    const char* label;        /**< "N/A" */
    const char* releaseType;  /**< "Official Release", "Development Build", ... */
} LibraryInfo;

/** Fills all ten fields of `info` (nothing happens for a null pointer). Every call gives
 *  the same pointers. */
MOX_API void mox_getLibraryInfo(LibraryInfo* info);

/** The version field ("2.1.0.0"), the same pointer mox_getLibraryInfo gives. */
MOX_API const char* mox_getVersionString(void);

#ifdef __cplusplus
}
#endif

#endif
