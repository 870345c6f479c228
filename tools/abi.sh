#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The ABI guard of the shared libraries, against the baselines in abi/ (abidw's XML).
#   abi.sh check BUILD_DIR   fails when a library's ABI changed incompatibly while its
#                            SONAME stayed, or changed compatibly without a new baseline
#   abi.sh update BUILD_DIR  rewrites the baselines from BUILD_DIR (commit them together
#                            with the change that made them necessary)
# Only the types reachable from the installed headers (include/mox) count. BUILD_DIR
# must be built with debug information (the default preset is).
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
cd "$(dirname "$0")/.."
libraries=(mox mox-rt mox-c)
headers=include/mox

library_file() {
  local file
  file=$(find "$build" -maxdepth 3 -name "lib$1.so.[0-9]*" -type f | sort | head -n 1)
  [ -n "$file" ] || { echo "lib$1.so.N not found under $build (build it first)" >&2; exit 1; }
  echo "$file"
}

soname_of() { readelf -d "$1" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p'; }

dump() {
  abidw --headers-dir "$headers" --drop-private-types --no-corpus-path --no-comp-dir-path \
        --no-show-locs --out-file "$2" "$1"
}

update() {
  local name=$1 file
  file=$(library_file "$name")
  dump "$file" "abi/lib$name.abi"
  echo "abi/lib$name.abi: $(soname_of "$file")"
}

check() {
  local name=$1 file baseline old new status=0
  file=$(library_file "$name")
  baseline=abi/lib$name.abi
  [ -f "$baseline" ] || { echo "$baseline is missing: run 'make abi-update'"; return 1; }
  old=$(sed -n "s/.*soname='\([^']*\)'.*/\1/p" "$baseline" | head -n 1)
  new=$(soname_of "$file")
  if [ "$old" != "$new" ]; then
    echo "lib$name: SONAME $old -> $new: incompatible changes are allowed; run 'make abi-update'"
    return 0
  fi
  abidiff --headers-dir2 "$headers" --drop-private-types "$baseline" "$file" || status=$?
  if (( status & 8 )); then
    echo "lib$name: INCOMPATIBLE ABI change under the unchanged SONAME $new (see above)"
    return 1
  elif (( status & 4 )); then
    echo "lib$name: compatible ABI change (see above): run 'make abi-update' and commit abi/ with it"
    return 1
  elif (( status != 0 )); then
    echo "lib$name: abidiff failed with status $status"
    return 1
  fi
  echo "lib$name: ABI unchanged ($new)"
}

case $mode in
  update) for name in "${libraries[@]}"; do update "$name"; done ;;
  check)
    failed=0
    for name in "${libraries[@]}"; do check "$name" || failed=1; done
    exit $failed ;;
  *) echo "usage: $0 check|update BUILD_DIR" >&2; exit 2 ;;
esac
