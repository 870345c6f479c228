#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs BUILD_DIR into a fresh prefix, moves the prefix elsewhere (so nothing may
# depend on the path installed to), and builds programs against it through pkg-config
# alone: one in C++ (mox.pc) and, when the C binding's mox-c.pc is installed, one in C.
# The C++ program joins the platform with no search path set, so the sample service
# library must be found in the installed private folder. Also checks the RUNPATHs, the
# man page and the bash completion of the installed tree.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/stage" >/dev/null
mv "$work/stage" "$work/moved"
prefix=$work/moved
pcdir=$(dirname "$(find "$prefix" -name mox.pc -path '*/pkgconfig/*' | head -n 1)")
export PKG_CONFIG_PATH=$pcdir
libdir=$(pkg-config --variable=libdir mox)
[ "$(cd "$libdir" && pwd)" = "$(cd "$pcdir/.." && pwd)" ] || { echo "mox.pc libdir $libdir is not $pcdir/.."; exit 1; }
echo "pkg-config mox $(pkg-config --modversion mox): $(pkg-config --cflags --libs mox)"

# shellcheck disable=SC2046
g++ -std=c++17 "$here/install-check/first.cpp" -o "$work/first" $(pkg-config --cflags --libs mox) -Wl,-rpath,"$libdir"
env -u MOX_LIBRARY_PATH -u LD_LIBRARY_PATH "$work/first"

if [ -f "$pcdir/mox-c.pc" ]; then
  # shellcheck disable=SC2046
  gcc -std=c11 "$here/install-check/first.c" -o "$work/first-c" $(pkg-config --cflags --libs mox-c) -Wl,-rpath,"$libdir"
  "$work/first-c"
else
  echo "C: skipped (no mox-c.pc installed)"
fi

"$prefix/bin/moxctl" --version
"$here/check-runpath.sh" "$prefix"
man=$prefix/share/man/man1/moxctl.1
grep -q '^\.TH MOXCTL "\?1' "$man" || { echo "man page missing or malformed: $man"; exit 1; }
echo "man page: $man"
bash -n "$prefix/share/bash-completion/completions/moxctl"
echo "install check passed"
