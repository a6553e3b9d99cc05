#!/usr/bin/env bash
# Saves pictures of the three windows into docs/: the main window after a load with a
# rejected script, the connection dialog, and the source chooser in list-file mode.
# Runs them on a virtual X display (Xvfb) against the project's TDS test server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

unset TDSPORT  # it would override the test server's port
mkdir -p "$root/docs"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  timeout 300 "$root/build/tools/screenshots/velmar_screenshots" "$root/scripts/demo/procs" "$root/docs"
