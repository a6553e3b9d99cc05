#!/usr/bin/env python3
"""What an unattended run costs when it fails at once: each binary given tries a port
nothing listens on, RUNS times; prints the median CPU (user + system, from wait4 on
/usr/bin/time, which has waited for it), wall time and peak resident memory (/usr/bin/time's
maximum resident set, as bench/compare.py reads it), and the shared objects the run loaded
(from the dynamic loader's own trace, the ODBC driver included).

    python3 bench/startup.py [--runs N] BINARY...
"""
import argparse
import os
import re
import socket
import statistics
import subprocess
import tempfile
import time


def refused_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def run(binary, work, port, extra_env=None):
    env = {k: v for k, v in os.environ.items()
           if k not in ("TDSPORT", "DISPLAY", "WAYLAND_DISPLAY")}
    env.update(extra_env or {})
    args = ["/usr/bin/time", "-f", "%M", "-o", os.path.join(work, "peak"),
            binary, "-E", "1", "-U", "sa", "-P", "secret", "-S", f"127.0.0.1,{port}",
            "-B", "Sales", "-D", work, "-L", os.path.join(work, "run.log")]
    with tempfile.TemporaryFile() as stderr:
        start = time.monotonic()
        process = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=stderr)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
        stderr.seek(0)
        err = stderr.read().decode()
    if os.waitstatus_to_exitcode(status) != 3:
        raise SystemExit(f"{binary}: expected exit status 3 (not carried out), got {status}: {err}")
    with open(os.path.join(work, "peak")) as f:
        peak = int(f.read().split()[-1]) / 1024
    return usage.ru_utime + usage.ru_stime, wall, peak, err


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("binaries", nargs="+")
    options = parser.parse_args()
    print("| binary | CPU ms | wall ms | peak MiB | shared objects loaded |")
    print("|---|---|---|---|---|")
    with tempfile.TemporaryDirectory() as work:
        port = refused_port()
        for binary in options.binaries:
            runs = [run(binary, work, port) for _ in range(options.runs)]
            trace = run(binary, work, port, {"LD_DEBUG": "files"})[3]
            loaded = set(re.findall(r"file=(\S+) \[0\];  generating link map", trace))
            cpu, wall, peak = (statistics.median(r[i] for r in runs) for i in range(3))
            print(f"| {binary} | {cpu * 1000:.0f} | {wall * 1000:.0f} | {peak:.1f} "
                  f"| {len(loaded)} |")


if __name__ == "__main__":
    main()
