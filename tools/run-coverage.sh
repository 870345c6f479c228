#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Coverage of a coverage build (`make coverage`): clears the counters, runs the tests,
# replays every fuzz target over its corpus fuzz/corpus/<target>, then prints line and
# branch coverage (gcovr; branches the compiler adds for exceptions left out) for each
# folder of src/, rt/ and c/ (headers reached through the build tree's include roots
# under their real folders), and their totals. A failing test or replay is reported
# and does not stop the summary.
# Usage: run-coverage.sh BUILD_DIR
set -uo pipefail
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
find "$build" -name '*.gcda' -delete

echo "== tests"
ctest --test-dir "$build" -j "${JOBS:-2}" --timeout 600 > "$build/coverage-tests.log" 2>&1 \
  || { echo "some tests failed:"; grep -E '\*\*\*|Failed|Timeout' "$build/coverage-tests.log" | head -n 20; }
grep -E 'tests passed' "$build/coverage-tests.log"

echo "== fuzz corpora"
while read -r fuzzer; do
  [ -n "$fuzzer" ] && [ -d "$root/fuzz/corpus/$fuzzer" ] || continue
  if ! "$build/bin/$fuzzer" "$root/fuzz/corpus/$fuzzer" > "$build/$fuzzer.replay.log" 2>&1; then
    echo "   $fuzzer: an input failed its checks: $(grep '^replaying' "$build/$fuzzer.replay.log" | tail -n 1)"
    grep -m 3 -E 'expectation failed|ERROR|stream gave|not read back|binding' "$build/$fuzzer.replay.log" | cut -c1-300
  fi
done < "$build/fuzzers.txt"

echo "== coverage (lines, branches) per folder"
gcovr --root "$root" --object-directory "$build" --filter "$root/src/" --filter "$root/rt/" --filter "$root/c/" \
      --exclude-directories "$build/CMakeFiles" --exclude-throw-branches --exclude-unreachable-branches \
      --gcov-ignore-parse-errors --json "$build/coverage.json" > /dev/null
python3 - "$build/coverage.json" "$root" <<'PY'
import collections, json, os, sys
root = sys.argv[2]
# Headers reached through the build tree's include roots (links to folders of src/ and
# rt/) are counted under their real path, merged line by line with the other ways in.
lines = collections.defaultdict(dict)  # file -> line number -> [count, branch counts]
for f in json.load(open(sys.argv[1]))["files"]:
    path = os.path.relpath(os.path.realpath(os.path.join(root, f["file"])), root)
    for line in f["lines"]:
        if line["gcovr/noncode"] or line["gcovr/excluded"]:
            continue
        merged = lines[path].setdefault(line["line_number"], [0, []])
        merged[0] += line["count"]
        branches = [b["count"] for b in line["branches"]]
        longer, shorter = sorted((merged[1], branches), key=len, reverse=True)
        merged[1] = [c + (shorter[i] if i < len(shorter) else 0) for i, c in enumerate(longer)]
# Each top folder's total ("src/"), then its folders ("src/data/time") when it has several.
sums = collections.defaultdict(lambda: [0, 0, 0, 0])
for path, numbered in lines.items():
    folder = os.path.dirname(path)
    for key in {folder, folder.split("/")[0] + "/"}:
        s = sums[key]
        for count, branches in numbered.values():
            s[0] += count > 0; s[1] += 1
            s[2] += sum(b > 0 for b in branches); s[3] += len(branches)
top = lambda k: k.split("/")[0]
folders = collections.Counter(top(k) for k in sums if not k.endswith("/"))
shown = [k for k in sums if k.endswith("/") or folders[top(k)] > 1]
pct = lambda a, b: "%5.1f%%" % (100.0 * a / b) if b else "    -"
print("%-42s %8s %14s %8s %14s" % ("folder", "lines", "", "branches", ""))
for key in sorted(shown, key=lambda k: (top(k), not k.endswith("/"), k)):
    s = sums[key]
    print("%-42s %8s %6d/%-7d %8s %6d/%-7d" % (key, pct(s[0], s[1]), s[0], s[1], pct(s[2], s[3]), s[2], s[3]))
PY
