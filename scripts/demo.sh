#!/usr/bin/env bash
# Installs the dependencies, builds Velmar and deploys the demo scripts to the project's TDS
# test server on 127.0.0.1, then shows the load log and what the server received.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

out="$root/build/demo"
mkdir -p "$out"
rm -f "$out/journal.jsonl"
# The launcher prints the port once the server answers, or ends without a line.
exec 3< <(exec python3 "$root/tools/tds-server/start_tds_server.py" --journal "$out/journal.jsonl")
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
read -r port <&3 || { echo "demo: the TDS test server did not start" >&2; exit 1; }

unset TDSPORT  # it would override the port named below
status=0
"$root/build/app/velmar" -E 1 -U sa -P secret -S "127.0.0.1,$port" -B Demo \
  -D "$root/scripts/demo/procs" -L "$out/logs/load.log" || status=$?

echo "== $out/logs/load.log"
cat "$out/logs/load.log"
echo "== batches received by the test server"
python3 - "$out/journal.jsonl" <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    event = json.loads(line)
    if event["event"] == "batch":
        print(repr(event["text"]))
PY
echo "== velmar exit status: $status"
exit "$status"
