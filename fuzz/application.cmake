# SPDX-License-Identifier: MIT
# Product and application id parsers.
mox_add_fuzzer(fuzz_product_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/product_id.cpp AREAS application)
mox_add_fuzzer(fuzz_application_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/application_id.cpp AREAS application)
