#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when an ELF file under the given folders has an empty or relative RUNPATH/RPATH
# entry: the dynamic loader reads those against the current directory, so a library
# planted there would be loaded. Entries must be absolute or start with $ORIGIN.
# Usage: check-runpath.sh DIR...
set -euo pipefail
status=0
checked=0
while IFS= read -r -d '' file; do
  head -c 4 "$file" 2>/dev/null | grep -q $'^\x7fELF' || continue
  checked=$((checked + 1))
  paths=$(readelf -d "$file" 2>/dev/null | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p')
  [ -n "$paths" ] || continue
  # A leading, trailing or doubled ':' is an empty entry.
  IFS=':' read -r -a entries <<< "$paths:"
  if [[ "$paths" == :* || "$paths" == *: || "$paths" == *::* ]]; then
    echo "$file: empty RUNPATH entry in [$paths]"; status=1; continue
  fi
  for entry in "${entries[@]}"; do
    case "$entry" in
      /* | '$ORIGIN' | '$ORIGIN/'* | '${ORIGIN}' | '${ORIGIN}/'*) ;;
      *) echo "$file: relative RUNPATH entry '$entry' in [$paths]"; status=1 ;;
    esac
  done
done < <(find "$@" -type f \( -name '*.so' -o -name '*.so.*' -o -perm -u+x \) -not -path '*/CMakeFiles/*' -print0)
echo "checked $checked ELF files"
[ "$checked" -gt 0 ] || { echo "no ELF files found under $*"; exit 1; }
exit $status
