# SPDX-License-Identifier: MIT
# Date-time text: the library's writer and reader against the C library's calendar
# and scanf calls doing the same work, in the same run.
mox_add_bench(bench_time SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/time.cpp AREAS time)
# The writing peer is the tests' calendar reference.
target_include_directories(bench_time PRIVATE ${PROJECT_SOURCE_DIR}/tests)
