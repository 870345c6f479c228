#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every fuzzer of a fuzz build for a bounded time, each with its seed corpus and,
# when fuzz/dict/<fuzzer>.dict exists, a dictionary of the shared XML markup
# (fuzz/dict/xml.dict) and that file's names; prints its executions and coverage.
# With KEEP_CORPUS=1 (make fuzz-long) the inputs it finds are kept in
# fuzz/corpus/<fuzzer>, the seed corpus of later runs.
# FUZZERS="a b" runs only those targets (to split a long run over cores).
# Usage: [KEEP_CORPUS=1] [FUZZERS=...] run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
while read -r fuzzer; do
  [ -n "$fuzzer" ] || continue
  work="$build/fuzz-corpus/$fuzzer"
  seeds=()
  if [ "${KEEP_CORPUS:-0}" = 1 ]; then
    work="$root/fuzz/corpus/$fuzzer"
  elif [ -d "$root/fuzz/corpus/$fuzzer" ]; then
    seeds+=("$root/fuzz/corpus/$fuzzer")
  fi
  mkdir -p "$work"
  dict=()
  if [ -f "$root/fuzz/dict/$fuzzer.dict" ]; then
    cat "$root/fuzz/dict/xml.dict" "$root/fuzz/dict/$fuzzer.dict" > "$build/$fuzzer.dict"
    dict=(-dict="$build/$fuzzer.dict")
  fi
  echo "== $fuzzer (${seconds}s)"
  if ! "$build/bin/$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/$fuzzer-" "${dict[@]}" \
       "$work" "${seeds[@]}" > "$build/$fuzzer.log" 2>&1; then
    echo "FAILED: $fuzzer"; tail -n 60 "$build/$fuzzer.log"; status=1
  else
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$fuzzer.log" | tail -n 1)
    cov=$(grep -oE 'cov: [0-9]+' "$build/$fuzzer.log" | tail -n 1)
    echo "   executions: ${runs:-?}, ${cov:-cov: ?}"
  fi
done < <(if [ -n "${FUZZERS:-}" ]; then printf '%s\n' $FUZZERS; else cat "$build/fuzzers.txt"; fi)
exit $status
