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

# Attributes and identities documents read back to back from three kinds of stream,
# against the text form of each part (expat finds where each root ends).
find_package(EXPAT REQUIRED)
mox_add_fuzzer(fuzz_documents_stream SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/documents_stream.cpp LIBS mox EXPAT::EXPAT)

# The writers checked by a second XML parser (libxml2), values and names read back.
find_package(LibXml2 REQUIRED)
mox_add_fuzzer(fuzz_writers_differential SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/writers_differential.cpp
               LIBS mox LibXml2::LibXml2)

# The C binding's parse and write pairs against the C++ calls on the same text.
mox_add_fuzzer(fuzz_binding_differential SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/binding_differential.cpp
               LIBS mox mox-c)
