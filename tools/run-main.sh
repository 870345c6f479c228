#!/usr/bin/env bash
# The main job: the library's information, then (when built) the joining flow against
# the sample service library on the built-in defaults.
set -euo pipefail
build=$1
moxctl="$build/bin/moxctl"
"$moxctl" info
if "$moxctl" app --help >/dev/null 2>&1; then
  config=$(mktemp -d)
  trap 'rm -rf "$config"' EXIT
  "$moxctl" app join --config "$config" --library-path "$(cd "$build/lib" && pwd)"
fi
