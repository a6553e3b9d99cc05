"""Helpers for the end-to-end tests: the scripted TDS server, the binary, its log."""
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True
# Half an hour off whole hours and needing no time zone files: the log must show local time.
os.environ["TZ"] = "XST-5:30"
time.tzset()

FRAME = "-" * 62 + "\r\n"
OK = "Réussi"
QI = "set quoted_identifier off"
TRANCOUNT = "select @@trancount"
_TS = re.compile(r"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d")
_ELAPSED = re.compile(r"Temps de chargement : (\d+)h(\d+)m(\d+)s")


def summary(procs, loaded, rejected, remaining=None):
    """The summary block as it reads once the log is normalised."""
    counts = [f"Nbr de procédures : {procs}", f"Nbr de procédures chargées : {loaded}",
              f"Nbr de procédures rejettées : {rejected}"]
    if remaining is not None:
        counts.append(f"Nbr de procédures restantes à charger : {remaining}")
    return "\r\n".join(counts + ["Temps de chargement : <elapsed>"])


class VelmarTestCase(unittest.TestCase):
    """Each test gets a temporary folder (the binary's working directory) and a server."""

    def setUp(self):
        tmp = tempfile.TemporaryDirectory(prefix="velmar-e2e-")
        self.addCleanup(tmp.cleanup)
        self.dir, self._server, self.runs = tmp.name, None, []
        self.addCleanup(self.stop_server)
        self.start_server()

    def start_server(self, *extra):
        self.stop_server()
        port_file, self.journal_file = self.path("server.port"), self.path("server.jsonl")
        self._server = subprocess.Popen(
            [os.environ["VELMAR_PYTHON"], os.environ["VELMAR_TDS_SERVER"], "--port-file",
             port_file, "--journal", self.journal_file, *extra])
        deadline = time.monotonic() + 20
        while not os.path.exists(port_file):
            self.assertTrue(self._server.poll() is None and time.monotonic() < deadline,
                            "the TDS test server did not start")
            time.sleep(0.01)
        with open(port_file) as f:
            self.server = f"127.0.0.1,{int(f.read())}"

    def stop_server(self):
        if self._server:
            self._server.terminate()
            self._server.wait(10)
        self._server = None

    def journal(self, event):
        with open(self.journal_file, encoding="utf-8") as f:
            return [e for e in map(json.loads, f) if e["event"] == event]

    def batches(self):
        """The batches received, without the check for an open transaction after each script."""
        return [e["text"] for e in self.journal("batch") if e["text"] != TRANCOUNT]

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def write(self, name, content):
        """Writes bytes as they are, or str as UTF-8; creates the folders on the way."""
        os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
        with open(self.path(name), "wb") as f:
            f.write(content if isinstance(content, bytes) else content.encode("utf-8"))

    def run_raw(self, *args, display=None, stderr=subprocess.PIPE, uid=None, during=None,
                binary=None):
        """Runs the binary (or the copy given) as `uid`, on the display named or none, calling
        `during()` meanwhile; answers its exit status and its stderr, if captured."""
        env = {k: v for k, v in os.environ.items()
               if k not in ("TDSPORT", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update({"DISPLAY": display} if display else {})
        start = datetime.datetime.now().replace(microsecond=0)
        process = subprocess.Popen([binary or os.environ["VELMAR_BIN"], *args], cwd=self.dir,
                                   env=env, user=uid, stdout=subprocess.DEVNULL, stderr=stderr,
                                   encoding="utf-8", errors="replace")
        if during:
            during()
        _, err = process.communicate(timeout=120)
        self.runs.append((start, datetime.datetime.now()))
        return process.returncode, err

    def velmar(self, source="src", mode="-D", error="1", user="sa", password="secret",
               database="Sales", log="run.log", **options):
        return self.run_raw("-E", error, "-U", user, "-P", password, "-S", self.server,
                            "-B", database, mode, source, "-L", log, **options)

    def read_log(self, name="run.log"):
        with open(self.path(name), "rb") as f:
            return f.read()

    def log_entries(self, name="run.log"):
        """The log's framed blocks as strings and result lines as (file, outcome), its times
        replaced by placeholders once checked: local, within the runs, no longer than them."""
        if not os.path.exists(self.path(name)):
            return []
        text = self.read_log(name).decode("utf-8")
        self.assertNotRegex(text, r"[^\r]\n|\r[^\n]|[^\n]\Z")
        first, last = self.runs[0][0], self.runs[-1][1]
        for stamp in _TS.findall(text):
            self.assertTrue(first <= datetime.datetime.strptime(stamp, "%d/%m/%Y %H:%M:%S") <= last)
        for h, m, s in _ELAPSED.findall(text):
            self.assertLessEqual(int(h) * 3600 + int(m) * 60 + int(s),
                                 (last - first).total_seconds() + 1)
        text = _ELAPSED.sub("Temps de chargement : <elapsed>", _TS.sub("<ts>", text))
        entries = []
        for index, part in enumerate(text.split(FRAME)):
            if index % 2:
                entries.append(part.removesuffix("\r\n"))
            else:
                entries += [tuple(line.removeprefix("<ts> - ").split("\t", 1))
                            for line in part.split("\r\n")[:-1]]
        return entries

    def header(self, database="Sales", user="sa", opening="Déploiement"):
        return (f"{opening} (<ts>) : \r\n    Serveur : {self.server}\r\n    Base : {database}"
                f"\r\n    User : {user}\r\n    Password : ********")
