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

from junitparser import JUnitXml

sys.dont_write_bytecode = True
# Half an hour off whole hours and needing no time zone files: the log must show local time.
os.environ["TZ"] = "XST-5:30"
time.tzset()

FRAME = "-" * 62 + "\r\n"
OK = "Réussi"
QI = "set quoted_identifier off"
STATE = "select @@trancount, db_name(), @@options"
_TS = re.compile(r"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d")
_ELAPSED = re.compile(r"Temps de chargement : (\d+)h(\d+)m(\d+)s")
# What XML 1.0 cannot hold: the report shows U+FFFD in its place.
_NOT_XML = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ud800-\udfff\ufffe\uffff]")
NOT_PLAYED = "Non joué : le chargement s'est arrêté à la première erreur."


def in_xml(text):
    return _NOT_XML.sub("\ufffd", text)


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
        self.journal_file = self.path("server.jsonl")
        self._server = subprocess.Popen(
            [os.environ["VELMAR_PYTHON"], os.environ["VELMAR_TDS_SERVER"], "--journal",
             self.journal_file, *extra], stdout=subprocess.PIPE, text=True)
        port = self._server.stdout.readline()
        self.assertTrue(port, "the TDS test server did not start")
        self.server = f"127.0.0.1,{int(port)}"

    def stop_server(self):
        if self._server:
            self._server.terminate()
            self._server.wait(10)
            self._server.stdout.close()
        self._server = None

    def journal(self, event):
        with open(self.journal_file, encoding="utf-8") as f:
            return [e for e in map(json.loads, f) if e["event"] == event]

    def batches(self):
        """The batches received, less the readings of the session's state."""
        return [e["text"] for e in self.journal("batch") if e["text"] != STATE]

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def write(self, name, content):
        """Writes bytes as they are, or str as UTF-8, making the folders."""
        os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
        with open(self.path(name), "wb") as f:
            f.write(content if isinstance(content, bytes) else content.encode("utf-8"))

    def run_raw(self, *args, display=None, stderr=subprocess.PIPE, uid=None, during=None,
                env=None, binary=None):
        """Runs the binary (or `binary`) as `uid` with `env` added, calling `during()` meanwhile;
        answers its exit status and stderr."""
        env = {**{k: v for k, v in os.environ.items() if k not in (
            "TDSPORT", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "VELMAR_PASSWORD")},
            **(env or {}), **({"DISPLAY": display} if display else {})}
        start = datetime.datetime.now().replace(microsecond=0)
        process = self.process = subprocess.Popen(
            [binary or os.environ["VELMAR_BIN"], *args], cwd=self.dir, env=env, user=uid,
            stdout=subprocess.DEVNULL, stderr=stderr, encoding="utf-8", errors="replace")
        if during:
            during()
        _, err = process.communicate(timeout=120)
        self.runs.append((start, datetime.datetime.now()))
        return process.returncode, err

    def velmar(self, source="src", mode="-D", error="1", user="sa", password="secret",
               database="Sales", log="run.log", report=(), **options):
        return self.run_raw("-E", error, "-U", user, "-P", password, "-S", self.server,
                            "-B", database, mode, source, "-L", log,
                            *(("-R", report) if report else ()), **options)

    def report(self, source="src", database="Sales", error="1", name="report.xml", user="sa"):
        """The JUnit report as a pipeline reads it: (tests, failures, skipped, errors) and cases
        as (name, kind, message), kind None for a loaded script; checked against the last run."""
        [suite] = list(JUnitXml.fromfile(self.path(name)))
        start, end = self.runs[-1]
        stamp = datetime.datetime.fromisoformat(suite.timestamp)
        self.assertEqual(datetime.timedelta(hours=5, minutes=30), stamp.utcoffset())
        self.assertTrue(start <= stamp.replace(tzinfo=None) <= end)
        self.assertLessEqual(suite.time, (end - start).total_seconds() + 1)
        self.assertEqual((source, self.server), (suite.name, suite.hostname))
        self.assertEqual({"Serveur": self.server, "Base": database, "User": user,
                          "Mode d'erreur": error},
                         {p.name: p.value for p in suite.properties()})
        cases = []
        for case in suite:
            self.assertEqual(database, case.classname)
            self.assertLessEqual(case.time, suite.time)
            file = case._elem.get("file")
            self.assertEqual(case.name, file and os.path.basename(file) or case.name)
            cases.append((case.name, *next(((r._tag, r.message) for r in case.result),
                                            (None, None))))
        self.assertEqual(len(cases), suite.tests)
        return (suite.tests, suite.failures, suite.skipped, suite.errors), cases

    def read_log(self, name="run.log"):
        with open(self.path(name), "rb") as f:
            return f.read()

    def log_entries(self, name="run.log"):
        """The log's framed blocks as strings and result lines as (file, outcome), its times
        checked (local, within the runs) then replaced by placeholders."""
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
