#!/usr/bin/env python3
"""Velmar beside the bare ODBC loop and its peers, all against the TDS test server.

Run through bench/compare.sh. Each client runs --repeat times as its own process; a row
keeps the least CPU (user + system of the client process, from wait4) and the least wall
time of its runs, since other work on the machine only ever adds to them, and the largest
peak resident memory. The batches column counts what the server journalled for the
client's connection; Velmar must send exactly the bare loop's batches.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

import make_inputs

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VELMAR = os.path.join(ROOT, "build", "app", "velmar")
BARE_LOOP = os.path.join(ROOT, "build", "bench", "velmar_bare_loop")
SERVER = os.path.join(ROOT, "tools", "tds-server", "start_tds_server.py")
PYODBC_LOOP = os.path.join(ROOT, "bench", "pyodbc_loop.py")
MIB = 1024 * 1024


class TestServer:
    def __init__(self, work):
        self.journal = os.path.join(work, "server.jsonl")
        if os.path.exists(self.journal):
            os.remove(self.journal)
        self.process = subprocess.Popen([sys.executable, SERVER, "--journal", self.journal],
                                        stdout=subprocess.PIPE, text=True)
        port = self.process.stdout.readline()
        if not port:
            sys.exit("the TDS test server did not start")
        self.port = int(port)
        self.read = 0

    def batches(self):
        """The texts of the batches journalled since the last call."""
        with open(self.journal, encoding="utf-8") as f:
            f.seek(self.read)
            events = [json.loads(line) for line in f]
            self.read = f.tell()
        return [e["text"] for e in events if e["event"] == "batch"]

    def stop(self):
        self.process.terminate()
        self.process.wait()
        self.process.stdout.close()


def run(command, work, env=None):
    """Runs `command` to its end; answers (CPU seconds, wall seconds, peak RSS bytes).

    The CPU comes from wait4 on /usr/bin/time, which has waited for the client; the peak
    resident memory from /usr/bin/time itself, since a child forked from this large process
    would report this process's peak as its own."""
    errors, peak = os.path.join(work, "stderr.txt"), os.path.join(work, "peak.txt")
    with open(errors, "w") as err:
        start = time.monotonic()
        process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", peak, *command],
                                   stdout=subprocess.DEVNULL, stderr=err, env=env)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        with open(errors) as err:
            sys.exit(f"{command[0]} ended with status {process.returncode}:\n{err.read()}")
    with open(peak) as f:
        rss = int(f.read().split()[-1]) * 1024
    return usage.ru_utime + usage.ru_stime, wall, rss


def measure(command, server, work, repeat, env=None, before=None):
    cpu = wall = float("inf")
    rss = 0
    for _ in range(repeat):
        if before:
            before()
        c, w, r = run(command, work, env)
        cpu, wall, rss = min(cpu, c), min(wall, w), max(rss, r)
        sent = server.batches()
    return {"cpu": cpu, "wall": wall, "rss": rss, "sent": sent}


class Clients:
    """The command lines of every client, for one server."""

    def __init__(self, server, work):
        self.server, self.work = server, work
        self.address = f"127.0.0.1,{server.port}"
        self.connection_string = (f"uid=sa;pwd=secret;driver={{SQL Server}};"
                                  f"server={self.address};database=Sales")
        self.log = os.path.join(work, "load.log")
        freetds_conf = os.path.join(work, "freetds.conf")
        with open(freetds_conf, "w") as f:
            f.write(f"[velmarbench]\n\thost = 127.0.0.1\n\tport = {server.port}\n")
        self.peer_env = dict(os.environ, FREETDSCONF=freetds_conf)

    def velmar(self, mode, path):
        return [VELMAR, "-E", "1", "-U", "sa", "-P", "secret", "-S", self.address, "-B", "Sales",
                mode, path, "-L", self.log]

    def bare_loop(self, batches):
        return [BARE_LOOP, self.connection_string, batches]

    def pyodbc_loop(self, batches):
        return [sys.executable, PYODBC_LOOP, self.connection_string, batches]

    def bsqldb(self, script):
        return ["bsqldb", "-S", "velmarbench", "-U", "sa", "-P", "secret", "-D", "Sales", "-q",
                "-i", script, "-o", os.devnull]

    def fisql(self, script):
        return ["fisql", "-S", "velmarbench", "-U", "sa", "-P", "secret", "-D", "Sales",
                "-i", script, "-o", os.devnull]

    def clear_log(self):
        if os.path.exists(self.log):
            os.remove(self.log)


def print_table(header, rows):
    print("| " + " | ".join(header) + " |")
    print("|" + "|".join("---" for _ in header) + "|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    print()


def comparison(server, work, repeat):
    clients = Clients(server, work)
    print(f"Generating 2,000 scripts of 5 batches and a 16 MiB script in {work}", file=sys.stderr)
    make_inputs.folder(work, 2000)
    big = os.path.join(work, "big.sql")
    make_inputs.script(big, 16)
    scripts, batches = os.path.join(work, "scripts"), os.path.join(work, "folder.batches")
    go_file = os.path.join(work, "folder.go.sql")

    def velmar(mode, path):
        return measure(clients.velmar(mode, path), server, work, repeat, before=clients.clear_log)

    def peer(command):
        return measure(command, server, work, repeat, env=clients.peer_env)

    cases = [
        ("a. folder, 2,000 scripts x 5 batches",
         measure(clients.bare_loop(batches), server, work, repeat),
         [("Velmar", velmar("-D", scripts)),
          ("bsqldb", peer(clients.bsqldb(go_file))),
          ("fisql", peer(clients.fisql(go_file))),
          ("python3-pyodbc loop", measure(clients.pyodbc_loop(batches), server, work, repeat))]),
        ("b. list file naming the same 2,000", None,
         [("Velmar", velmar("-F", os.path.join(work, "list.txt")))]),
        (f"c. one script of {os.path.getsize(big) / MIB:.1f} MiB",
         measure(clients.bare_loop(big + ".batches"), server, work, repeat),
         [("Velmar", velmar("-D", big))]),
    ]
    rows, bare, same = [], None, True
    for case, bare_run, others in cases:
        bare = bare_run or bare
        for name, result in [("bare loop", bare)] + others:
            if name == "Velmar":
                same = same and result["sent"] == bare["sent"]
            rows.append([case, name, str(len(result["sent"])),
                         f"{result['cpu'] / len(result['sent']) * 1e6:.1f}",
                         f"{result['cpu']:.3f}", f"{result['wall']:.2f}",
                         f"{result['rss'] / MIB:.1f}",
                         f"{result['cpu'] / bare['cpu']:.2f}"])
            case = ""
    print_table(["case", "client", "batches", "CPU µs/batch", "CPU s", "wall s", "peak MiB",
                 "CPU / bare loop"], rows)
    print(f"Velmar sent exactly the bare loop's batches: {'yes' if same else 'NO'}\n")
    return same


def scale(server, work):
    clients = Clients(server, work)
    rows = []
    for kind, sizes in (("list", (10**3, 10**4, 10**5, 10**6)), ("folder", (10**3, 10**4, 10**5))):
        first = None
        for n in sizes:
            out = os.path.join(work, f"{kind}{n}")
            print(f"Generating a {kind} of {n} entries", file=sys.stderr)
            if kind == "list":
                make_inputs.listing(out, n)
                command = clients.velmar("-F", os.path.join(out, "list.txt"))
            else:
                make_inputs.folder(out, n)
                command = clients.velmar("-D", os.path.join(out, "scripts"))
            result = measure(command, server, work, 1, before=clients.clear_log)
            per_entry = (result["cpu"] / n, result["wall"] / n)
            first = first or per_entry
            rows.append([kind, str(n), str(len(result["sent"])), f"{per_entry[0] * 1e6:.1f}",
                         f"{per_entry[1] * 1e6:.1f}", f"{per_entry[0] / first[0]:.2f}",
                         f"{per_entry[1] / first[1]:.2f}", f"{result['rss'] / MIB:.1f}"])
            subprocess.run(["rm", "-rf", out], check=True)
    print_table(["source", "entries", "batches", "CPU µs/entry", "wall µs/entry",
                 "CPU/entry vs smallest", "wall/entry vs smallest", "peak MiB"], rows)

    big = os.path.join(work, "big256.sql")
    print("Generating a 256 MiB script", file=sys.stderr)
    make_inputs.script(big, 256)
    result = measure(clients.velmar("-D", big), server, work, 1, before=clients.clear_log)
    size = os.path.getsize(big)
    print_table(["script", "batches", "CPU s", "wall s", "peak MiB", "bound: 3 x file + 30 MiB"],
                [[f"{size / MIB:.1f} MiB", str(len(result["sent"])), f"{result['cpu']:.2f}",
                  f"{result['wall']:.2f}", f"{result['rss'] / MIB:.1f}",
                  f"{(3 * size + 30 * MIB) / MIB:.1f}"]])


def describe_machine():
    with open("/proc/cpuinfo") as f:
        model = next(line.split(":", 1)[1].strip() for line in f if line.startswith("model name"))
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) // 1024
    print(f"Machine: {os.cpu_count()} CPUs, {model}, {memory} MiB of memory; "
          f"load average {os.getloadavg()[0]:.2f} at the start\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=3, help="runs per client (default 3)")
    parser.add_argument("--scale", action="store_true",
                        help="also the scale and memory runs (lists up to 10^6 lines, folders "
                             "up to 10^5 scripts, a 256 MiB script; several minutes)")
    args = parser.parse_args()
    describe_machine()
    with tempfile.TemporaryDirectory(prefix="velmar-bench-") as work:
        server = TestServer(work)
        try:
            same = comparison(server, work, args.repeat)
            if args.scale:
                scale(server, work)
        finally:
            server.stop()
    print(f"Load average at the end: {os.getloadavg()[0]:.2f}")
    sys.exit(0 if same else 1)


if __name__ == "__main__":
    main()
