#!/usr/bin/env bash
# Installs the dependencies, builds the Debian package (without the tests) in build-package/
# and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"
bash "$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" >&2
rm -f "$build"/velmar_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/velmar_*.deb
