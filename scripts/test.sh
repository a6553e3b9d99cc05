#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test (unit, ODBC and end-to-end).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
