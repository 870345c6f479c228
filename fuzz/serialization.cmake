# SPDX-License-Identifier: MIT
# The XML codec: its raw decoder over a test schema, and the identities document.
mox_add_fuzzer(fuzz_xb_decoder SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/xb_decoder.cpp AREAS manager)
target_sources(fuzz_xb_decoder PRIVATE ${PROJECT_SOURCE_DIR}/tests/services/serialization/manager/TestSchema.cpp)
target_include_directories(fuzz_xb_decoder PRIVATE ${PROJECT_SOURCE_DIR}/tests)

if(TARGET mox_area_authentication_xml AND TARGET mox_area_authentication)
  foreach(name parse_identities parse_identity)
    mox_add_fuzzer(fuzz_${name} SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp
                   AREAS authentication_xml xb_identity manager authentication)
  endforeach()
endif()

# The stream form of the attributes document, fed in fuzzed chunk sizes, against the text form.
mox_add_fuzzer(fuzz_attributes_stream SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/attributes_stream.cpp LIBS mox)

# The writers checked by a second XML parser.
find_package(pugixml CONFIG REQUIRED)
mox_add_fuzzer(fuzz_writers_differential SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/writers_differential.cpp
               LIBS mox pugixml::pugixml)
