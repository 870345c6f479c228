#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The bash completion offers only what moxctl accepts: every command and option it lists
# for a command line appears in that command's --help, and completing sample command
# lines gives exactly the expected words.
# Usage: completion_test.sh MOXCTL COMPLETION_SCRIPT
set -euo pipefail
moxctl=$1
# shellcheck source=/dev/null
. "$2"
status=0

for path in "${!_moxctl_options[@]}"; do
  # shellcheck disable=SC2086
  help=$("$moxctl" ${path#moxctl} --help)
  for word in ${_moxctl_options[$path]} ${_moxctl_commands[$path]}; do
    grep -qE -- "(^|[ ,])$word([ ,=]|\$)" <<< "$help" || { echo "'moxctl $path' offers '$word', which its --help lacks"; status=1; }
  done
done

# complete WORDS... : the completion of the last word after the others.
complete_line() {
  COMP_WORDS=(moxctl "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _moxctl
  echo "${COMPREPLY[*]}"
}
expect() {
  local want=$1 got
  shift
  got=$(complete_line "$@")
  [ "$got" = "$want" ] || { echo "moxctl $* -> '$got', expected '$want'"; status=1; }
}
expect "now" time n
expect "--help -h --res" time now -
expect "--json" time parse --j
expect "" xml get --j
expect "--help -h --res" time format --res s -
expect "attributes" attr
exit $status
