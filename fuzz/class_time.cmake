# SPDX-License-Identifier: MIT
# Class, interface and loader ids, and date-times: each reader on arbitrary text with
# round-trip oracles; the date-time field scanner against the C library's sscanf.
mox_add_fuzzer(fuzz_class_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/class_id.cpp AREAS class)
mox_add_fuzzer(fuzz_interface_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/interface_id.cpp AREAS class)
mox_add_fuzzer(fuzz_loader_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/loader_id.cpp AREAS class)
mox_add_fuzzer(fuzz_datetime SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/datetime.cpp AREAS time)
