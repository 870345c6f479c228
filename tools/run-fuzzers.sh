#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every fuzzer of a fuzz build for a bounded time, each with its seed corpus.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
while read -r fuzzer; do
  [ -n "$fuzzer" ] || continue
  work="$build/fuzz-corpus/$fuzzer"
  mkdir -p "$work"
  seeds=()
  [ -d "$root/fuzz/corpus/$fuzzer" ] && seeds+=("$root/fuzz/corpus/$fuzzer")
  echo "== $fuzzer (${seconds}s)"
  if ! "$build/bin/$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/$fuzzer-" \
       "$work" "${seeds[@]}" > "$build/$fuzzer.log" 2>&1; then
    echo "FAILED: $fuzzer"; tail -n 60 "$build/$fuzzer.log"; status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$build/$fuzzer.log" | tail -n 2
  fi
done < "$build/fuzzers.txt"
exit $status
