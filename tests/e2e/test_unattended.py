"""Unattended runs against the scripted TDS server: what it receives, what the log and the
terminal show, and how the command line is read."""
import contextlib
import os
import pty
import re
import shlex
import shutil
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, QI, STATE, VelmarTestCase, summary  # noqa: E402

USAGE = r"velmar - Usage\n(.+\n){11}"
NO_DISPLAY = r"velmar: le mode fenêtre a besoin d'un affichage \(DISPLAY ou WAYLAND_DISPLAY\)\n"
NOT_INSTALLED = r"velmar: le mode fenêtre n'est pas installé \(paquet velmar-gui\)\n"


def drain(fd):
    screen = b""
    with contextlib.suppress(OSError):  # EIO once the terminal's last writer has gone
        while chunk := os.read(fd, 4096):
            screen += chunk
    os.close(fd)
    return screen.decode("utf-8")


class UnattendedLoad(VelmarTestCase):
    def test_folder_with_go_lines_transactions_and_encodings(self):
        text, latin = "select N'é€ü 😀'\r\n", "select 'é€ü'\r\n"
        long = "".join(f"insert into t values ({i}) -- n°{i}\r\n" for i in range(3000))
        files = {
            # A GO in a comment is text: three batches, the last one a line end.
            "1_usp_cmt.sql": "CREATE PROCEDURE dbo.usp_Cmt AS SELECT 1\nGO\n/* Ancienne version :\n"
                             "CREATE PROCEDURE dbo.usp_Old AS SELECT 0\nGO\n*/\n"
                             "GRANT EXECUTE ON dbo.usp_Cmt TO public\nGO\n",
            "2_open.sql": "begin tran\r\ninsert into t values (1)\r\n",
            "3_after.SQL": "insert into t values (2)\r\n",
            "4_commit.sql": "begin transaction\r\nGO\r\ninsert into t values (3)\r\nGO\r\ncommit",
            # The error follows other results: each must be read for it to be seen.
            "5_bad.sql": "print 'x'\r\nselect 1\r\nselect 2\r\nraiserror('boom', 16, 1)\r\n",
            "6_long.sql": long, "7_u16le.sql": b"\xff\xfe" + text.encode("utf-16-le"),
            "8_w1252.sql": latin.encode("cp1252"), "notes.txt": "x"}
        for name, content in files.items():
            self.write("src/" + name, content)
        self.assertEqual(1, self.velmar()[0])
        self.assertEqual([self.header(), ("1_usp_cmt.sql", OK),
                          ("2_open.sql", "Transaction laissée ouverte par le script : annulée."),
                          ("3_after.SQL", OK), ("4_commit.sql", OK),
                          ("5_bad.sql", "[FreeTDS][SQL Server]boom"), ("6_long.sql", OK),
                          ("7_u16le.sql", OK), ("8_w1252.sql", OK), summary(8, 6, 2)],
                         self.log_entries())
        self.assertEqual([QI, "CREATE PROCEDURE dbo.usp_Cmt AS SELECT 1\n",
                          "\n/* Ancienne version :\nCREATE PROCEDURE dbo.usp_Old AS SELECT 0\n"
                          "GO\n*/\nGRANT EXECUTE ON dbo.usp_Cmt TO public\n", "\n",
                          "begin tran\r\ninsert into t values (1)\r\n", "rollback transaction",
                          "insert into t values (2)\r\n", "begin transaction\r\n",
                          "\r\ninsert into t values (3)\r\n", "\r\ncommit", files["5_bad.sql"],
                          long, text, latin], self.batches())
        self.assertEqual(9, [e["text"] for e in self.journal("batch")].count(STATE))

    def test_each_script_starts_where_the_run_began(self):
        self.start_server("--databases", "master,Sa]les")
        scripts = [  # (name, batches, what the check after it puts back)
            ("1_generated.sql", ["USE [Sa]]les]\r\n", "\r\nSET ANSI_NULLS ON\r\n",
                                 "\r\nSET QUOTED_IDENTIFIER ON\r\n",
                                 "\r\nCREATE PROCEDURE p AS SELECT 1\r\n", "\r\n"], [QI]),
            ("2_quoted.sql", ['insert into t values ("texte")\r\n'], []),
            ("3_master.sql", ["use master\r\n"], ["use [Sa]]les]"]),
            ("4_create.sql", ["create table t2 (n int)\r\n"], []),
            ("5_implicit.sql", ["set implicit_transactions on\r\n"],
             ["set implicit_transactions off"]),
            ("6_insert.sql", ["insert into t values (6)\r\n"], [])]
        for name, batches, _ in scripts:
            self.write("src/" + name, "GO".join(batches))
        self.assertEqual((0, ""), self.velmar(database="Sa]les"))
        self.assertEqual([self.header("Sa]les"), *[(name, OK) for name, _, _ in scripts],
                          summary(6, 6, 0)], self.log_entries())
        # The database each batch started in.
        sent = [(QI, "Sa]les"), (STATE, "Sa]les")]
        for name, batches, restore in scripts:
            after = "master" if name == "3_master.sql" else "Sa]les"
            sent += [(b, "Sa]les") for b in batches] + [(b, after) for b in [STATE, *restore]]
        self.assertEqual(sent, [(e["text"], e["database"]) for e in self.journal("batch")])
        self.assertEqual([], self.journal("tran"))

    def test_command_line(self):
        self.write("src/a.sql", "select 1\r\n")
        good = ["-E", "1", "-U", "sa", "-P", "secret", "-S", self.server, "-B", "Sales",
                "-D", "src", "-L", "run.log"]
        no_p = good[:4] + good[6:]
        # A copy of the binary without the window library, which is looked for beside it.
        bare = self.path("bin", "velmar")
        os.makedirs(os.path.dirname(bare))
        shutil.copy(os.environ["VELMAR_BIN"], bare)
        refused = [("missing -L", good[:-2], {}, USAGE), ("-?", ["-?"] + good, {}, USAGE),
                   ("-E 1.5", ["-E", "1.5"] + good[2:], {}, USAGE),
                   ("no -P, no variable", no_p, {}, USAGE),
                   ("no -P, variable empty", no_p, {"env": {"VELMAR_PASSWORD": ""}}, USAGE),
                   ("-R naming the log", good + ["-R", "./run.log"], {},
                    r"velmar: le rapport \(-R\) ne peut pas être le fichier de log \(-L\)\n"),
                   # A refused line shows the usage, then tries it in a window.
                   ("-? on an unreachable display", ["-?"], {"display": ":97"}, USAGE + NO_DISPLAY),
                   ("-? without window library", ["-?"], {"display": ":97", "binary": bare}, USAGE),
                   ("no display", [], {}, NO_DISPLAY + USAGE),
                   ("unreachable display", [], {"display": ":97"}, NO_DISPLAY + USAGE),
                   ("no window library", [], {"display": ":97", "binary": bare},
                    NOT_INSTALLED + USAGE)]
        for label, args, how, expected in refused:
            with self.subTest(label):
                status, err = self.run_raw(*args, **how)
                self.assertEqual(2, status, err)
                # Qt's own warnings about the display aside.
                self.assertRegex(re.sub(r"(?m)^qt\.qpa\..*\n", "", err), rf"\A{expected}\Z")
        self.assertEqual(([], []), (self.log_entries(), self.journal("login")))
        # The password from the variable, or -P's over it; no window library needed.
        for args, password in (no_p, "secret"), (good, "wrong"):
            self.assertEqual((0, ""), self.run_raw(*args, env={"VELMAR_PASSWORD": password},
                                                   binary=bare))
        self.assertEqual(2 * [self.header(), ("a.sql", OK), summary(1, 1, 0)], self.log_entries())

    def test_progress_on_a_terminal_only(self):
        for name, text in ("a", "select 1"), ("b", "raiserror('boom', 16, 1)"), ("c", "select 3"):
            self.write(f"src/{name}.sql", text)
        terminal, attached = pty.openpty()
        status, _ = self.velmar(error="0", log="tty.log", stderr=attached)
        os.close(attached)
        screen = re.sub(r"\d+h\d+m\d+s", "<elapsed>", drain(terminal))
        self.assertEqual(1, status)
        # The terminal turns each line feed into CR LF.
        self.assertEqual(f"\r0/3 [{'.' * 30}] <elapsed>\r1/3 [{'#' * 10}{'.' * 20}] <elapsed>"
                         f"\r\n{summary(3, 1, 1, remaining=1)}\r\n", screen)
        self.assertEqual((1, ""), self.velmar(error="0", log="pipe.log"))
        self.assertEqual(self.log_entries("pipe.log"), self.log_entries("tty.log"))

    def test_readme_pipeline_job(self):
        with open(os.path.join(os.path.dirname(__file__), "../../README.md"), encoding="utf-8") as f:
            jobs = re.findall(r"^    - (velmar .*)$", f.read(), re.MULTILINE)
        self.assertEqual(2, len(jobs))  # one server, then the fleet
        self.assertEqual(jobs[0], jobs[1])
        self.start_server("--user", "deploy")
        self.write("procs/a.sql", "select 1")
        self.write("procs/b.sql", "raiserror('boom', 16, 1)")
        args = [os.path.expandvars(a) for a in shlex.split(
            jobs[0].replace("$DB_SERVER", self.server).replace("$DB_NAME", "Sales"))]
        # The job's password comes from its masked variable.
        self.assertEqual((1, ""), self.run_raw(*args[1:], env={"VELMAR_PASSWORD": "secret"}))
        self.assertEqual(((2, 1, 0, 0), [("a.sql", None, None),
                                         ("b.sql", "failure", "[FreeTDS][SQL Server]boom")]),
                         self.report("procs", name="velmar-junit.xml", user="deploy"))
        self.assertEqual(("b.sql", "[FreeTDS][SQL Server]boom"), self.log_entries("velmar.log")[2])


if __name__ == "__main__":
    unittest.main()
