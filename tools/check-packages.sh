#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages in DEB_DIR on this machine and uses them the way a user
# would, with no environment variables set: a C++ and a C program built through
# pkg-config alone (no -L, no rpath, no LD_LIBRARY_PATH), the Python package imported
# without PYTHONPATH, the man page found by man. The installed files must carry no
# RUNPATH. The packages are purged again at the end, whatever happened.
# Usage: check-packages.sh DEB_DIR   (as root)
set -euo pipefail
debs=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
packages=(libmox-rt2 libmox2 libmox-c2 libmox-dev python3-mox moxctl)
cleanup() {
  apt-get purge -y -qq "${packages[@]}" >/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DEBIAN_FRONTEND=noninteractive
cd "$debs"
apt-get install -y -qq --no-install-recommends $(printf './%s_*.deb ' "${packages[@]}") >/dev/null
cd "$work"
clean_env=(env -i PATH=/usr/bin:/bin HOME="$work")

# shellcheck disable=SC2046
"${clean_env[@]}" g++ -std=c++17 "$here/install-check/first.cpp" -o app-cpp $("${clean_env[@]}" pkg-config --cflags --libs mox)
# shellcheck disable=SC2046
"${clean_env[@]}" gcc -std=c11 "$here/install-check/first.c" -o app-c $("${clean_env[@]}" pkg-config --cflags --libs mox-c)
"${clean_env[@]}" ./app-cpp
"${clean_env[@]}" ./app-c
cd /
"${clean_env[@]}" python3 -c 'import mox; print("Python:", mox.__version__, mox.DateTime.parse("2026-12-04T05:38:45Z"))'
echo "man page: $("${clean_env[@]}" man -w moxctl)"
"${clean_env[@]}" moxctl --version
# Installed ELF files: the system's search path only.
mapfile -t files < <(dpkg -L "${packages[@]}" | sort -u)
runpaths=$(for f in "${files[@]}"; do [ -f "$f" ] && readelf -d "$f" 2>/dev/null | grep -E '\((RUN)?PATH\)' | sed "s|^|$f: |"; done || true)
[ -z "$runpaths" ] || { echo "installed files with a RUNPATH:"; echo "$runpaths"; exit 1; }
echo "package check passed"
