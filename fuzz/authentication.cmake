# SPDX-License-Identifier: MIT
# Principals: the account and authority parsers and the identity order.
mox_add_fuzzer(fuzz_account_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/account_id.cpp AREAS authentication)
mox_add_fuzzer(fuzz_authority_id SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/authority_id.cpp AREAS authentication)
mox_add_fuzzer(fuzz_identity_compare SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/identity_compare.cpp AREAS authentication)
