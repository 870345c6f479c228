#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every benchmark of a release build. Extra arguments go to each benchmark.
# Usage: run-benchmarks.sh BUILD_DIR [benchmark args...]
set -euo pipefail
build=$1; shift
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$@"
done
