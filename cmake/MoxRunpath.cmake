# SPDX-License-Identifier: MIT
# RUNPATHs of the project's binaries, set through CMake's own RPATH properties.
#
# The build tree has the installed layout (bin/, <libdir>/ and <libdir>/mox/), so every
# binary gets a RUNPATH relative to itself ($ORIGIN) that serves both trees.
#
# MOX_INSTALL_RPATH ON: binaries are built with the RUNPATH they keep when installed, so
# installing changes nothing. Building with the install RUNPATH also keeps CMake from
# ending the build RUNPATH with an empty entry, which the dynamic loader reads as the
# current directory.
#
# MOX_INSTALL_RPATH OFF (distribution packages, whose libraries live in the system's
# search path): the relative RUNPATH is the build RUNPATH only, and `cmake --install`
# removes it from the installed copy, under DESTDIR when one is set. The build tree's
# RUNPATH then ends with the empty entry CMake reserves for that rewrite.

# Relative path from the program folder to the library folder.
file(RELATIVE_PATH MOX_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})

if(MOX_INSTALL_RPATH)
  set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
  set(mox_runpath_property INSTALL_RPATH)
else()
  set(CMAKE_BUILD_WITH_INSTALL_RPATH OFF)
  set(CMAKE_SKIP_INSTALL_RPATH ON)
  set(mox_runpath_property BUILD_RPATH)
endif()

# mox_apply_runpaths(DIR): gives every binary target defined in DIR and below the
# relative RUNPATH of its kind: programs look in <libdir>, libraries next to themselves, modules
# (service libraries in <libdir>/mox) one folder up.
function(mox_apply_runpaths dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(imported ${target} IMPORTED)
    if(imported)
      continue()
    endif()
    if(type STREQUAL "EXECUTABLE")
      set_target_properties(${target} PROPERTIES ${mox_runpath_property} "$ORIGIN/${MOX_BIN_TO_LIB}")
    elseif(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${target} PROPERTIES ${mox_runpath_property} "$ORIGIN")
    elseif(type STREQUAL "MODULE_LIBRARY")
      set_target_properties(${target} PROPERTIES ${mox_runpath_property} "$ORIGIN/..")
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    mox_apply_runpaths(${sub})
  endforeach()
endfunction()

# mox_pkgconfig_dirs(): sets MOX_PC_PREFIX, MOX_PC_LIBDIR and MOX_PC_INCLUDEDIR for a .pc
# file installed to <libdir>/pkgconfig. The prefix is relative to the file itself
# (${pcfiledir}), so that a moved or `cmake --install --prefix`'ed tree still works.
function(mox_pkgconfig_dirs)
  set(prefix "\${pcfiledir}/..")
  string(REPLACE "/" ";" parts "${CMAKE_INSTALL_LIBDIR}")
  foreach(part IN LISTS parts)
    set(prefix "${prefix}/..")
  endforeach()
  if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(prefix "${CMAKE_INSTALL_PREFIX}")
  endif()
  set(MOX_PC_PREFIX "${prefix}" PARENT_SCOPE)
  foreach(kind LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
      set(MOX_PC_${kind} "${CMAKE_INSTALL_${kind}}" PARENT_SCOPE)
    else()
      set(MOX_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()
