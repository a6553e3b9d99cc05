#!/usr/bin/env bash
# CI check of the Debian package: builds it, checks what it holds, then installs, runs and
# removes it on this machine, once with a "SQL Server" driver already registered and once
# without. Both runs register drivers in a scratch copy of odbcinst.ini (ODBCSYSINI, which
# dpkg hands on to the maintainer scripts), so the machine's own registration stays as it is.
set -euo pipefail

if [ -z "${CI:-}" ]; then
    echo "package-test: refused: CI is not set, and this installs and removes the velmar package" >&2
    exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "package-test: refused: installing a package needs root" >&2
    exit 1
fi

root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
server=""
cleanup() {
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    dpkg -s velmar >/dev/null 2>&1 && dpkg -r velmar >/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

passed=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    "$@" || { echo "package-test: FAILED: $what" >&2; exit 1; }
    passed=$((passed + 1))
}

deb=$(bash "$root/scripts/package.sh")
contents=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort | tr '\n' ' ')
check "the package holds exactly the binary, the manual page, the menu entry and the icons" \
    [ "$contents" = "./usr/bin/velmar ./usr/share/applications/velmar.desktop ./usr/share/icons/hicolor/16x16/apps/velmar.png ./usr/share/icons/hicolor/scalable/apps/velmar.svg ./usr/share/man/man1/velmar.1.gz " ]

# The launcher prints the port once the server answers, or ends without a line.
exec 3< <(exec python3 "$root/tools/tds-server/start_tds_server.py" --journal "$scratch/journal")
server=$!
read -r port <&3 || { echo "package-test: the TDS test server did not start" >&2; exit 1; }

export ODBCSYSINI="$scratch"
marker=/var/lib/velmar/registered-driver
driver() { odbcinst -q -d -n "SQL Server" >/dev/null 2>&1; }
usage_shown() {
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY velmar '-?' 2>"$scratch/usage" || status=$?
    [ "$status" -eq 2 ] && grep -q -- "-E <error>" "$scratch/usage"
}
demo_loads() {
    env -u TDSPORT velmar -E 0 -U sa -P secret -S "127.0.0.1,$port" -B Sales \
        -D "$root/scripts/demo/procs" -L "$scratch/load.log" 2>/dev/null
}

# A driver of that name exists (as scripts/setup.sh leaves it): the package leaves it alone.
cp "$(env -u ODBCSYSINI odbcinst -j | sed -n 's/^DRIVERS\.*: //p')" "$scratch/odbcinst.ini"
check "the machine has a \"SQL Server\" driver to start from" driver
cp "$scratch/odbcinst.ini" "$scratch/before.ini"
check "the package installs beside an existing driver" dpkg -i "$deb" >/dev/null
check "velmar -? shows the usage and ends with status 2" usage_shown
check "the installed velmar loads the demo scripts" demo_loads
check "the existing driver is left as it was" cmp -s "$scratch/odbcinst.ini" "$scratch/before.ini"
check "the package is removed" dpkg -r velmar >/dev/null
check "removal keeps the existing driver" cmp -s "$scratch/odbcinst.ini" "$scratch/before.ini"
check "removal takes the binary away" [ ! -e /usr/bin/velmar ]

# No driver of that name: the package registers one, and takes it away on removal.
: >"$scratch/odbcinst.ini"
check "the package installs without a driver" dpkg -i "$deb" >/dev/null
check "the package registers FreeTDS as \"SQL Server\"" \
    bash -c "odbcinst -q -d -n 'SQL Server' | grep -q '^Driver=.*/libtdsodbc\.so$' && [ -e $marker ]"
check "the installed velmar loads through the driver the package registered" demo_loads
check "the package is removed again" dpkg -r velmar >/dev/null
check "removal unregisters the driver the package registered" \
    bash -c "! odbcinst -q -d -n 'SQL Server' >/dev/null 2>&1 && [ ! -e $marker ]"

echo "package-test: $passed passed, 0 failed"
