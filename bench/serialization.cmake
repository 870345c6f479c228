# SPDX-License-Identifier: MIT
# The identities document against a bare expat parse of the same bytes.
if(TARGET mox_area_authentication_xml AND TARGET mox_area_authentication)
  mox_add_bench(bench_xb_identities SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/xb_identities.cpp
                AREAS authentication_xml xb_identity manager authentication)
endif()
