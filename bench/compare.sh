#!/usr/bin/env bash
# Velmar's client cost beside a bare ODBC loop and its peers (FreeTDS's bsqldb and fisql, a
# pyodbc loop), all against the TDS test server; prints one table. --scale adds the scale and
# memory runs; --repeat N sets the runs per client. Inputs are generated in a temporary folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The peers are only needed here, so scripts/setup.sh does not install them.
peers=(freetds-bin python3-pyodbc)
missing=()
for p in "${peers[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

[ -x "$root/build/app/velmar" ] && [ -x "$root/build/bench/velmar_bare_loop" ] ||
  bash "$root/scripts/build.sh"
# TDSPORT would override the test server's port.
unset TDSPORT
# Debian's interpreter, where python3-pyodbc is installed.
exec /usr/bin/python3 "$root/bench/compare.py" "$@"
