# SPDX-License-Identifier: MIT
# Runtime readers: the XML helpers (readers on any text, and writer-to-reader round
# trips) and the string helpers (number readers and glob matching against references).
mox_add_fuzzer(fuzz_xmlutils SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/xmlutils.cpp)
mox_add_fuzzer(fuzz_xmlutils_roundtrip SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/xmlutils_roundtrip.cpp)
mox_add_fuzzer(fuzz_stringutils SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/stringutils.cpp)
