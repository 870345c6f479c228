#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The main job: the library's information, then the joining flow against the sample
# service library (libMOX-SM.so, built into BUILD_DIR/lib/mox) on the built-in defaults.
# Usage: run-main.sh BUILD_DIR
set -euo pipefail
build=$1
moxctl="$build/bin/moxctl"
"$moxctl" info
echo
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
# The bootstrap path is a fresh directory; with no search path set, the sample is found
# in the library's private folder of service libraries.
env -u MOX_LIBRARY_PATH "$moxctl" app join --config "$config"
