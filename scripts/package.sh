#!/usr/bin/env bash
# Installs the dependencies, builds the Debian packages velmar and velmar-gui (without the
# tests) in build-package/ with Debian's hardening flags, and prints their paths, velmar's
# first. VELMAR_MAINTAINER (name <address>) sets the packages' maintainer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"
bash "$root/scripts/setup.sh" >&2
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flag() { dpkg-buildflags --get "$1"; }
maintainer=()
[ -z "${VELMAR_MAINTAINER:-}" ] || maintainer=("-DVELMAR_MAINTAINER=$VELMAR_MAINTAINER")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr "-DCMAKE_CXX_FLAGS=$(flag CPPFLAGS) $(flag CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(flag LDFLAGS)" "-DCMAKE_MODULE_LINKER_FLAGS=$(flag LDFLAGS)" \
    "${maintainer[@]}" >/dev/null
cmake --build "$build" >&2
rm -f "$build"/velmar*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/velmar_*.deb
ls "$build"/velmar-gui_*.deb
