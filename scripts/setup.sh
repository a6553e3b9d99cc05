#!/usr/bin/env bash
# Installs the build and test dependencies from Debian's packages and registers
# the FreeTDS ODBC driver under the name "SQL Server". Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3 python3-junitparser file clang clang-format
  unixodbc unixodbc-dev odbcinst tdsodbc
  qt6-base-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

driver=$(dpkg -L tdsodbc | grep -m1 '/libtdsodbc\.so$')
if ! odbcinst -q -d -n "SQL Server" 2>/dev/null | grep -q "^Driver=$driver\$"; then
  template=$(mktemp)
  printf '[SQL Server]\nDescription=FreeTDS ODBC driver\nDriver=%s\nUsageCount=1\n' "$driver" >"$template"
  $sudo odbcinst -i -d -f "$template" >/dev/null
  rm -f "$template"
fi
echo "setup: dependencies installed, driver \"SQL Server\" -> $driver"
