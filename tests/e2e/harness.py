"""Helpers for the end-to-end tests: the scripted TDS server, the binary, its log."""
import datetime
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True

FRAME = "-" * 62
OK = "Réussi"
TRANCOUNT = "select @@trancount"
_TS = re.compile(r"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d")
_ELAPSED = re.compile(r"Temps de chargement : (\d+)h(\d+)m(\d+)s")
_RESULT = re.compile(r"<ts> - ([^\t]*)\t(.*)")


def summary(procs, loaded, rejected, remaining=None):
    """The summary block as it reads once the log is normalised."""
    lines = [f"Nbr de procédures : {procs}", f"Nbr de procédures chargées : {loaded}",
             f"Nbr de procédures rejettées : {rejected}"]
    if remaining is not None:
        lines.append(f"Nbr de procédures restantes à charger : {remaining}")
    return "\r\n".join(lines + ["Temps de chargement : <elapsed>"])


def not_found(entry):
    return f"Le fichier ou répertoire '{entry}' n'existe pas."


class VelmarTestCase(unittest.TestCase):
    """Each test gets a temporary folder (the binary's working directory) and a server."""

    def setUp(self):
        tmp = tempfile.TemporaryDirectory(prefix="velmar-e2e-")
        self.addCleanup(tmp.cleanup)
        self.dir = tmp.name
        self._server = None
        self.start_server()
        self.runs = []  # (start, end) of each run, to check the log's timestamps

    # --- the TDS server -------------------------------------------------------------
    def start_server(self, *extra):
        self.stop_server()
        port_file = os.path.join(self.dir, "server.port")
        self.journal_file = os.path.join(self.dir, "server.jsonl")
        for stale in (port_file, self.journal_file):
            if os.path.exists(stale):
                os.remove(stale)
        python = os.environ.get("VELMAR_PYTHON", sys.executable)
        self._server = subprocess.Popen(
            [python, os.environ["VELMAR_TDS_SERVER"], "--port-file", port_file,
             "--journal", self.journal_file, *extra], cwd=self.dir)
        deadline = time.monotonic() + 20
        while not os.path.exists(port_file):
            if self._server.poll() is not None or time.monotonic() > deadline:
                self.fail("the TDS test server did not start")
            time.sleep(0.05)
        with open(port_file) as f:
            self.server = f"127.0.0.1,{int(f.read())}"

    def stop_server(self):
        if self._server and self._server.poll() is None:
            self._server.send_signal(signal.SIGTERM)
            try:
                self._server.wait(10)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()
        self._server = None

    def tearDown(self):
        self.stop_server()

    def journal(self, event=None):
        if not os.path.exists(self.journal_file):
            return []
        with open(self.journal_file, encoding="utf-8") as f:
            events = [json.loads(line) for line in f if line.strip()]
        return [e for e in events if event is None or e["event"] == event]

    def batches(self):
        """The batches received, without the check for an open transaction after each script."""
        return [e["text"] for e in self.journal("batch") if e["text"] != TRANCOUNT]

    # --- files and the binary ---------------------------------------------------------
    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def write(self, name, content):
        """Writes bytes as they are, or str as UTF-8; creates the folders on the way."""
        full = self.path(name)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(content if isinstance(content, bytes) else content.encode("utf-8"))
        return full

    def run_raw(self, *args, display=None, stderr=subprocess.PIPE, uid=None, during=None):
        """Runs the binary without a display, or on the X display named, as the user `uid` if
        given; stderr may be a terminal's file descriptor, and is then not captured; `during()`
        is called while the binary runs."""
        env = {k: v for k, v in os.environ.items()
               if k not in ("TDSPORT", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        if display:
            env["DISPLAY"] = display
        start = datetime.datetime.now().replace(microsecond=0)
        process = subprocess.Popen([os.environ["VELMAR_BIN"], *args], cwd=self.dir, env=env,
                                   user=uid, stdout=subprocess.PIPE, stderr=stderr)
        if during:
            during()
        stdout, err = process.communicate(timeout=120)
        self.runs.append((start, datetime.datetime.now()))
        return subprocess.CompletedProcess(process.args, process.returncode, stdout,
                                           err if err is None else err.decode("utf-8", "replace"))

    def velmar(self, source, mode="-D", error="1", user="sa", password="secret",
               database="Sales", log="run.log", **options):
        return self.run_raw("-E", error, "-U", user, "-P", password, "-S", self.server,
                            "-B", database, mode, source, "-L", log, **options)

    def read_log(self, name="run.log"):
        with open(self.path(name), "rb") as f:
            return f.read()

    def log_entries(self, name="run.log"):
        """The log as a list: framed blocks as one string, result lines as (file, outcome).

        Checks on the way that it is UTF-8, that every line ends with CR LF, that every
        timestamp is a real local date within one of the runs, and that the elapsed time
        is no longer than the run took; both are then replaced by placeholders."""
        text = self.read_log(name).decode("utf-8")
        self.assertTrue(text.endswith("\r\n"), repr(text[-40:]))
        self.assertNotRegex(text, r"[^\r]\n|\r[^\n]")

        def stamp(match):
            when = datetime.datetime.strptime(match.group(0), "%d/%m/%Y %H:%M:%S")
            self.assertTrue(any(s <= when <= e for s, e in self.runs), f"timestamp {when}")
            return "<ts>"

        def elapsed(match):
            h, m, s = map(int, match.groups())
            self.assertLess(m, 60)
            self.assertLess(s, 60)
            longest = max((e - s_).total_seconds() for s_, e in self.runs)
            self.assertLessEqual(h * 3600 + m * 60 + s, longest + 1)
            return "Temps de chargement : <elapsed>"

        text = _ELAPSED.sub(elapsed, _TS.sub(stamp, text))
        lines = text.split("\r\n")[:-1]
        entries, i = [], 0
        while i < len(lines):
            if lines[i] == FRAME:
                end = lines.index(FRAME, i + 1)
                entries.append("\r\n".join(lines[i + 1:end]))
                i = end + 1
            else:
                match = _RESULT.fullmatch(lines[i])
                self.assertIsNotNone(match, f"unexpected log line {lines[i]!r}")
                entries.append(match.groups())
                i += 1
        return entries

    def connection_block(self, opening, database="Sales", user="sa"):
        return (f"{opening} (<ts>) : \r\n    Serveur : {self.server}\r\n    Base : {database}"
                f"\r\n    User : {user}\r\n    Password : ********")

    def header(self, database="Sales", user="sa"):
        return self.connection_block("Déploiement", database, user)

    def login_failure(self, database="Sales", user="sa"):
        return self.connection_block("La connection suivante a échouée", database, user)
