# SPDX-License-Identifier: MIT
# Decoding time on very long tokens (attribute value, comment, text) against the same
# number of bytes as ordinary content, from a string and from a stream.
mox_add_bench(bench_long_tokens SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/long_tokens.cpp LIBS mox::mox)
