"""The fault matrix: each row sets up one fault, runs one unattended load against the TDS test
server, and checks the exit status, the log's entries and the batches the server received."""
import collections
import os
import re
import sys
import time
import unittest

sys.dont_write_bytecode = True
from harness import NOT_PLAYED, OK, QI, VelmarTestCase, in_xml, summary  # noqa: E402

EOF_ = "[FreeTDS][SQL Server]Unexpected EOF from the server"
LOST = "[FreeTDS][SQL Server]Communication link failure"
NUL = "Le lot contient un caractère nul (code 0) : le pilote ODBC n'en enverrait que le début."
HEADER, LOGIN_FAILED = "<header>", "<login failure>"
# Root passes every permission check: the rows about permissions run the binary as nobody.
NOBODY = 65534 if os.geteuid() == 0 else None

Row = collections.namedtuple(
    "Row", "name files args status log batches server prepare during ordered stderr",
    defaults=((), None, None, True, ""))


not_found = "Le fichier ou répertoire '{}' n'existe pas.".format
_NOT_FOUND = re.compile(r"Le fichier ou répertoire '(.*)' n'existe pas\.\Z")
_SUMMARY = re.compile(r"Nbr de procédures : (\d+)\r\n.*: (\d+)\r\n.*: (\d+)\r\n"
                      r"(?:.*restantes à charger : (\d+)\r\n)?Temps")


def wait_until(test, condition):
    deadline = time.monotonic() + 20
    while not condition():
        test.assertLess(time.monotonic(), deadline)
        time.sleep(0.01)


def remove_log_once_a_is_written(test):
    wait_until(test, lambda: os.path.exists(test.path("run.log")) and b"a.sql" in test.read_log())
    os.remove(test.path("run.log"))


def password_out_of_process_list(test):
    wait_until(test, lambda: "waitfor delay '00:00:01'\r\n" in test.batches())
    with open(f"/proc/{test.process.pid}/cmdline", encoding="utf-8") as f:
        args = f.read().split("\0")
    test.assertEqual("******", args[args.index("-P") + 1])
    test.assertFalse(set(HIDDEN) & set("".join(args[1:])))


ONE = {"src/a.sql": "select 1\r\n"}
# No character of it is in the rest of the arguments.
HIDDEN = "Wk}y{Q"
DROP = {**ONE, "src/b.sql": "select 2\r\nGO\r\nshutdown\r\nGO\r\nselect 3\r\n",
        "src/c.sql": "select 4\r\n"}
DROP_SENT = [QI, "select 1\r\n", "select 2\r\n", "\r\nshutdown\r\n"]
CONNECTION_ROWS = [
    Row("server drops mid-batch, stop", DROP, {"error": "0"}, 1,
        [HEADER, ("a.sql", OK), ("b.sql", EOF_), summary(3, 1, 1, remaining=1)], DROP_SENT),
    Row("server drops mid-batch, continue", DROP, {}, 1,
        [HEADER, ("a.sql", OK), ("b.sql", EOF_), ("c.sql", LOST), summary(3, 1, 2)], DROP_SENT),
    Row("refused login", ONE, {"password": "nope"}, 3, [LOGIN_FAILED], [],
        stderr="Login failed for user 'sa'."),
    Row("set quoted_identifier off refused", ONE, {}, 3, [LOGIN_FAILED], [QI],
        ("--fail-quoted-identifier",), stderr="Incorrect syntax near 'quoted_identifier'."),
    Row("password holding ; and {", ONE, {"password": "p;w{d"}, 0,
        [HEADER, ("a.sql", OK), summary(1, 1, 0)], [QI, "select 1\r\n"], ("--password", "p;w{d")),
    Row("password holding } and ;", ONE, {"password": "x};pwd=secret;{"}, 3, [LOGIN_FAILED], [],
        stderr="mot de passe contenant '}'."),
    Row("password holding } and {, out of the process list",
        {"src/a.sql": "waitfor delay '00:00:01'\r\n"}, {"password": HIDDEN}, 0,
        [HEADER, ("a.sql", OK), summary(1, 1, 0)], [QI, "waitfor delay '00:00:01'\r\n"],
        ("--password", HIDDEN), during=password_out_of_process_list),
    Row("message holding <, & and a control character",
        {"src/x.sql": "raiserror('<a> & \x01\"', 16, 1)\r\n"}, {}, 1,
        [HEADER, ("x.sql", "[FreeTDS][SQL Server]<a> & \x01\""), summary(1, 0, 1)],
        [QI, "raiserror('<a> & \x01\"', 16, 1)\r\n"]),
]
FILE_ROWS = [
    Row("missing folder", ONE, {"source": "nothere"}, 3,
        [HEADER, not_found("nothere"), summary(0, 0, 0)], [QI]),
    Row("missing list file", ONE, {"source": "none.txt", "mode": "-F"}, 3,
        [HEADER, "Le fichier ou répertoire 'none.txt' n'est pas accessible."], [QI]),
    Row("report's folder missing", ONE, {"report": "no/report.xml"}, 3,
        [HEADER, ("a.sql", OK), summary(1, 1, 0)], [QI, "select 1\r\n"],
        stderr="le rapport 'no/report.xml' n'a pas pu être écrit : "),
    Row("log folder made, one level deep", ONE, {"log": "new/run.log"}, 0,
        [HEADER, ("a.sql", OK), summary(1, 1, 0)], [QI, "select 1\r\n"]),
    Row("log folder's parent missing", ONE, {"log": "no/such/run.log"}, 3, None, [QI]),
    Row("log on a full disk", ONE, {"log": "/dev/full"}, 3, None, [QI]),
    Row("log removed mid-run", {**ONE, "src/b.sql": "waitfor delay '00:00:01'\r\n"}, {}, 0,
        [("b.sql", OK), summary(2, 2, 0)], [QI, "select 1\r\n", "waitfor delay '00:00:01'\r\n"],
        during=remove_log_once_a_is_written),
    Row("unreadable script", {**ONE, "src/b.sql": "select 2\r\n"}, {"uid": NOBODY}, 1,
        [HEADER, ("a.sql", "Permission denied"), ("b.sql", OK), summary(2, 1, 1)],
        [QI, "select 2\r\n"], prepare=lambda t: os.chmod(t.path("src/a.sql"), 0)),
    Row("NUL bytes", {"src/n.sql": b"sel\0ect 1\r\n"}, {}, 1,
        [HEADER, ("n.sql", NUL), summary(1, 0, 1)], [QI]),
    Row("folder named x.sql, links", {**ONE, "src/x.sql/c.sql": "select 3\r\n"}, {}, 1,
        [HEADER, ("a.sql", OK), ("b.sql", "No such file or directory"), ("c.sql", OK),
         summary(3, 2, 1)], [QI, "select 1\r\n", "select 1\r\n"],
        prepare=lambda t: (os.symlink("gone.sql", t.path("src/b.sql")),
                           os.symlink("a.sql", t.path("src/c.sql")))),
    Row("list naming itself and a folder", {**ONE, "list.txt": "list.txt\nsrc\nsrc/a.sql\n"},
        {"source": "list.txt", "mode": "-F"}, 1,
        [HEADER, ("list.txt", OK), not_found("src"), ("a.sql", OK), summary(3, 2, 1)],
        [QI, "list.txt\nsrc\nsrc/a.sql\n", "select 1\r\n"]),
    Row("two runs appending to one log",
        {f"src/s{i:04}.sql": f"select {i}\r\n" for i in range(1000)}, {}, 0,
        2 * [HEADER, *[(f"s{i:04}.sql", OK) for i in range(1000)], summary(1000, 1000, 0)],
        2 * [QI, *[f"select {i}\r\n" for i in range(1000)]],
        during=lambda t: t.assertEqual(0, t.velmar()[0]), ordered=False),]


class FaultMatrix(VelmarTestCase):
    def test_connection_faults(self):
        self.run_rows(CONNECTION_ROWS)

    def test_file_faults(self):
        self.run_rows(FILE_ROWS)

    def run_rows(self, rows):
        base = self.dir
        os.chmod(base, 0o755)  # the report is written by its absolute path, as nobody too
        for index, row in enumerate(rows):
            with self.subTest(row.name):
                self.dir = os.path.join(base, str(index))
                os.makedirs(self.dir)
                os.chmod(self.dir, 0o777)
                self.start_server(*row.server)
                for name, content in row.files.items():
                    self.write(name, content)
                if row.prepare:
                    row.prepare(self)
                status, err = self.velmar(**{"report": "report.xml", **row.args},
                                          during=row.during and (lambda: row.during(self)))
                self.assertEqual(row.status, status, err)
                if row.status == 3:  # the reason, on stderr's last line
                    self.assertRegex(err.splitlines()[-1], "^velmar: .*" + re.escape(row.stderr))
                # Entries of runs made at once interleave: they are compared sorted.
                order = list if row.ordered else (lambda items: sorted(items, key=repr))
                if row.log is not None:
                    failed = self.header(row.args.get("database", "Sales"),
                                         opening="La connection suivante a échouée")
                    blocks = {HEADER: self.header(row.args.get("database", "Sales")),
                              LOGIN_FAILED: failed}
                    expected = [blocks.get(e, e) if isinstance(e, str) else e for e in row.log]
                    log = row.args.get("log", "run.log")
                    self.assertEqual(order(expected), order(self.log_entries(log)))
                    self.assertNotIn(row.args.get("password", "secret").encode(),
                                     self.read_log(log))
                self.assertEqual(order(row.batches), order(self.batches()))
                # The log of runs made side by side, or cut short, tells another story.
                if "report" not in row.args and (row.status == 3 or
                                                 (row.ordered and not row.during)):
                    self.check_report(row, err)

    def check_report(self, row, err):
        """The report tells what the log and stderr tell, and never the password."""
        source, database = row.args.get("source", "src"), row.args.get("database", "Sales")
        figures, cases = self.report(source, database, row.args.get("error", "1"))
        self.assertNotIn(row.args.get("password", "secret").encode(), self.read_log("report.xml"))
        if row.status == 3:
            step = (f"Connexion à {self.server}" if LOGIN_FAILED in (row.log or ())
                    else source if row.log else "Chargement")
            self.assertEqual(((1, 0, 0, 1), [(step, "error", err.removeprefix("velmar: ")[:-1])]),
                             (figures, cases))
            return self.assertEqual(1, err.count("\n"))
        log = self.log_entries(row.args.get("log", "run.log"))
        procs, loaded, rejected, remaining = _SUMMARY.match(log[-1]).groups()
        played = [(e[0], None if e[1] == OK else "failure", None if e[1] == OK else in_xml(e[1]))
                  if isinstance(e, tuple) else (os.path.basename(missing[1]), "failure", e)
                  for e in log if isinstance(e, tuple) or (missing := _NOT_FOUND.match(e))]
        skipped = int(remaining or 0)
        self.assertEqual((int(procs), int(rejected), skipped, 0), figures)
        self.assertEqual(int(loaded), [kind for _, kind, _ in cases].count(None))
        self.assertEqual(played, cases[:len(played)])
        self.assertEqual(skipped * [("skipped", NOT_PLAYED)],
                         [(kind, message) for _, kind, message in cases[len(played):]])

if __name__ == "__main__":
    unittest.main()
