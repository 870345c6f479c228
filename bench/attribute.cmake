# SPDX-License-Identifier: MIT
# Attribute lists, the platform's bulk data: Attributes::unmarshal against a bare expat
# parse and a pugixml parse of the same bytes, Attributes::marshal against pugixml
# building and saving the same document, and the peak memory of unmarshal.
find_package(pugixml CONFIG REQUIRED)
mox_add_bench(bench_attribute_documents SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/attribute_documents.cpp
              AREAS common_xml common attribute xb_attributes manager)
target_link_libraries(bench_attribute_documents PRIVATE pugixml::pugixml EXPAT::EXPAT)
