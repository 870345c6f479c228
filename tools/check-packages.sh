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

cat > app.cpp <<'CPP'
#include <mox/mox.h>
#include <iostream>
int main()
{
    const auto id = MOX::createApplicationId(MOX::createProductId("Demo", "package", "1"), "package-check");
    MOX::getApplication(id)->setBootstrapPath("/tmp");
    const auto manager = MOX::getServiceManager(id);
    std::cout << "C++: " << mox_getVersionString() << ", services: " << manager->getServiceNames().size() << '\n';
    return manager->getServiceNames().empty() ? 1 : 0;
}
CPP
cat > app.c <<'C'
#include <mox/mox_c.h>
#include <stdio.h>
int main(void)
{
    mox_handle when = 0;
    char* text = NULL;
    if (mox_datetime_parse("2026-12-04T05:38:45Z", &when) != 0 || mox_datetime_format(when, 1, &text) != 0)
        return 1;
    printf("C: %s (%s)\n", text, mox_version());
    mox_free(text);
    return 0;
}
C
# shellcheck disable=SC2046
"${clean_env[@]}" g++ -std=c++17 app.cpp -o app-cpp $(pkg-config --cflags --libs mox)
# shellcheck disable=SC2046
"${clean_env[@]}" gcc -std=c11 app.c -o app-c $(pkg-config --cflags --libs mox-c)
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
