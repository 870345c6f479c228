# SPDX-License-Identifier: MIT
# The handle table against a std::map behind a std::mutex.
if(TARGET mox_area_handle)
  mox_add_bench(bench_handle_table SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/handle_table.cpp AREAS handle)
endif()
