# SPDX-License-Identifier: MIT
# RUNPATHs of the project's binaries.
#
# The build tree has the installed layout (bin/, <libdir>/ and <libdir>/mox/), so every
# binary is built with the RUNPATH it keeps when installed: relative to itself
# ($ORIGIN), never empty and never a relative directory. Building with the install
# RUNPATH also keeps CMake from padding the build RUNPATH with empty entries, which the
# dynamic loader would read as the current directory.
#
# With MOX_INSTALL_RPATH OFF (distribution packages) the installed files lose their
# RUNPATH at the end of the installation (mox_strip_installed_runpaths). CMake's own
# install-time rewriting is never used: it needs a build RUNPATH padded or ended with
# empty entries.

# Relative path from the program folder to the library folder.
file(RELATIVE_PATH MOX_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})

set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)

# mox_apply_runpaths(DIR): gives every binary target defined in DIR and below the
# RUNPATH of its kind: programs look in <libdir>, libraries next to themselves, modules
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
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${MOX_BIN_TO_LIB}")
    elseif(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    elseif(type STREQUAL "MODULE_LIBRARY")
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/..")
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

# mox_strip_installed_runpaths(): with MOX_INSTALL_RPATH OFF, removes the RUNPATH of
# every ELF file installed so far; call it after every other install rule.
function(mox_strip_installed_runpaths)
  if(MOX_INSTALL_RPATH)
    return()
  endif()
  install(CODE [[
    foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
      if(NOT IS_SYMLINK "${file}" AND EXISTS "${file}")
        file(READ "${file}" magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
          file(RPATH_REMOVE FILE "${file}")
        endif()
      endif()
    endforeach()
  ]])
endfunction()
