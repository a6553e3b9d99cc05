#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each (or those named after
# SECONDS) for SECONDS (default 60), one after another, printing its executions and findings. A finding is saved under
# build-fuzz/findings/TARGET/; once fixed, it goes to tests/fuzz/corpus/TARGET/ as a row of
# the regression table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"
bash "$root/scripts/setup.sh" >/dev/null
if ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed"; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
    clang libclang-rt-14-dev
fi
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_SANITIZE=ON -DVELMAR_FUZZ=ON >/dev/null
targets=(commandline splitter decoder listfile)
[ $# -gt 1 ] && targets=("${@:2}")
cmake --build "$build" --target "${targets[@]/#/velmar_fuzz_}"
total=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -max_len=256 -artifact_prefix="$findings/"
           -print_final_stats=1)
  [ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
  "$build/tests/fuzz/velmar_fuzz_$target" "${options[@]}" "$corpus" \
    "$root/tests/fuzz/corpus/$target" >"$build/$target.out" 2>&1 || true
  runs=$(grep -oP 'number_of_executed_units:\s*\K\d+' "$build/$target.out" || echo 0)
  echo "$target: $runs executions, $(ls "$findings" | wc -l) findings (log: $build/$target.out)"
  total=$((total + runs))
done
echo "total: $total executions"
