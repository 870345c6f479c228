# SPDX-License-Identifier: MIT
# Identity-set membership against a std::set<std::string> of the same texts.
if(TARGET mox_area_authentication)
  mox_add_bench(bench_identity_set SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/identity_set.cpp AREAS authentication)
endif()
