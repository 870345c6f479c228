# SPDX-License-Identifier: MIT
# What a Python caller pays: 1,000 small attributes documents parsed and every value read,
# through the mox package against the same through the C binding from C. The C program
# measures its side, then runs the Python side, which prints both and their ratio.
find_package(Python3 COMPONENTS Interpreter QUIET)
if(TARGET mox-c AND Python3_Interpreter_FOUND)
  add_executable(bench_python_attributes ${CMAKE_CURRENT_SOURCE_DIR}/python_attributes.c)
  target_link_libraries(bench_python_attributes PRIVATE mox::c)
  target_compile_definitions(bench_python_attributes PRIVATE
    MOX_BENCH_PYTHON="${Python3_EXECUTABLE}" MOX_BENCH_SCRIPT="${CMAKE_CURRENT_SOURCE_DIR}/python_attributes.py"
    MOX_BENCH_PYTHONPATH="${PROJECT_BINARY_DIR}/python")
  add_dependencies(bench_python_attributes mox-c)
endif()
