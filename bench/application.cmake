# SPDX-License-Identifier: MIT
# createApplicationId of an already registered id against a std::set<std::string> find.
if(TARGET mox_area_application)
  mox_add_bench(bench_application_id SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/application_id.cpp AREAS application)
endif()
