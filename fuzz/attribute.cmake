# SPDX-License-Identifier: MIT
# The attributes and properties documents and the "attribute-id" form, each with a
# round-trip oracle: whatever reads must write back to text that reads the same.
mox_add_fuzzer(fuzz_attributes_unmarshal SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/attributes_unmarshal.cpp
               AREAS common_xml common attribute xb_attributes manager)
mox_add_fuzzer(fuzz_parse_attribute SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/parse_attribute.cpp
               AREAS common_xml common attribute xb_attributes manager)
mox_add_fuzzer(fuzz_parse_qualified_name SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/parse_qualified_name.cpp
               AREAS attribute)
mox_add_fuzzer(fuzz_properties_decoder SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/properties_decoder.cpp
               AREAS xb_properties manager)
