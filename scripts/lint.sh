#!/usr/bin/env bash
# The lint gate: every tracked C++ file laid out as .clang-format says, and the whole tree built
# with its warnings (-Wall -Wextra -Wpedantic) as errors, by g++ in build/ (which the tests then
# reuse) and by clang in build-clang/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
git -C "$root" ls-files -z '*.cpp' '*.h' | (cd "$root" && xargs -0 clang-format --dry-run -Werror)
bash "$root/scripts/build.sh" build -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
CXX=clang++ bash "$root/scripts/build.sh" build-clang -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
