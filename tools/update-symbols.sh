#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Rewrites debian/libmox-c2.symbols from the C binding in BUILD_DIR: the symbols already
# listed keep the version that introduced them, new ones get the project's version and
# symbols gone from the library are dropped (which the package build then refuses
# unless the SONAME changed). Run it, with `make symbols`, after adding C functions.
# Usage: update-symbols.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
library=$(find "$build" -name 'libmox-c.so.[0-9]*' -type f | head -n 1)
[ -n "$library" ] || { echo "no libmox-c.so.N under $build (build it first)"; exit 1; }
version=$(sed -n 's/^project(mox VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
symbols=debian/libmox-c2.symbols
existing=()
[ -f "$symbols" ] && existing=(-I"$symbols")
dpkg-gensymbols -q -plibmox-c2 -v"$version" -c0 -e"$library" "${existing[@]}" -O"$symbols.new"
mv "$symbols.new" "$symbols"
echo "$symbols: $(grep -c '^ ' "$symbols") symbols"
