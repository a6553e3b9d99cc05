#!/usr/bin/env bash
# Configures and builds Velmar and its tests in build/, or in the folder given with the
# CMake options that follow it (scripts/build.sh build-asan -DVELMAR_SANITIZE=ON).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/${1:-build}"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null
cmake --build "$dir"
