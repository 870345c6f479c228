# SPDX-License-Identifier: MIT
# Areas: the layers of libmox. Each area is an object library that names the areas it
# depends on; libmox is assembled from all of them, and tests, benchmarks and fuzzers link
# exactly the areas they exercise (white-box: they get their own copy of the objects).
#
# Private headers are included by their path below src/ ("data/time/DateTimeImpl.h"), but
# no target is given src/ itself: every area publishes an include root of its own in the
# build tree, holding only a link to its folder. A target therefore sees the private
# headers of the areas it builds, depends on or links, and an include of any other
# area's private header fails to compile. These roots are build-tree only: they never
# reach the installed package or the exported link interface.

set(MOX_AREA_INCLUDE_DIR ${PROJECT_BINARY_DIR}/area-include)

# mox_private_include_root(OUT_VAR ROOT_NAME FOLDER RELATIVE_PATH)
# Makes ${MOX_AREA_INCLUDE_DIR}/ROOT_NAME/RELATIVE_PATH a link to FOLDER and returns the
# root in OUT_VAR, so that "RELATIVE_PATH/X.h" resolves for whoever gets the root.
function(mox_private_include_root out_var root_name folder relative_path)
  set(root ${MOX_AREA_INCLUDE_DIR}/${root_name})
  get_filename_component(parent ${root}/${relative_path} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${folder} ${root}/${relative_path} SYMBOLIC)
  set(${out_var} ${root} PARENT_SCOPE)
endfunction()

# mox_add_area(NAME [SOURCES files...] [DEPS areas...])
# Builds the object library mox_area_<NAME> from SOURCES (default: *.cpp and impl/*.cpp of
# the calling directory) and adds it to libmox. DEPS names the areas whose private headers
# or code it uses; their include roots reach it and whoever links it. An area without
# sources is skipped.
function(mox_add_area name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT A_SOURCES)
    file(GLOB A_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/impl/*.cpp)
  endif()
  if(NOT A_SOURCES)
    return()
  endif()
  set(target mox_area_${name})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  mox_private_include_root(root ${name} ${CMAKE_CURRENT_SOURCE_DIR} ${folder})
  add_library(${target} OBJECT ${A_SOURCES})
  target_compile_definitions(${target} PUBLIC MOX_BUILDING)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/include ${root})
  set(deps ${A_DEPS})
  list(TRANSFORM deps PREPEND mox_area_)
  target_link_libraries(${target} PUBLIC mox-rt EXPAT::EXPAT ${deps} PRIVATE mox_warnings)
  set_property(TARGET ${target} PROPERTY MOX_AREA_DEPS ${A_DEPS})
  set_property(GLOBAL APPEND PROPERTY MOX_AREAS ${target})
endfunction()

# mox_link_areas(TARGET areas...)
# Links the object files of the named areas into TARGET, together with the areas they
# depend on (directly or not), each once.
function(mox_link_areas target)
  set(pending ${ARGN})
  set(linked)
  while(pending)
    list(POP_FRONT pending area)
    if(area IN_LIST linked)
      continue()
    endif()
    if(NOT TARGET mox_area_${area})
      message(FATAL_ERROR "${target}: unknown area '${area}'")
    endif()
    list(APPEND linked ${area})
    get_property(deps TARGET mox_area_${area} PROPERTY MOX_AREA_DEPS)
    list(APPEND pending ${deps})
  endwhile()
  list(TRANSFORM linked PREPEND mox_area_)
  target_link_libraries(${target} PRIVATE ${linked})
endfunction()
