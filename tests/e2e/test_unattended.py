"""Unattended runs against the scripted TDS server: what it receives, what the log and the
terminal show, and how the command line is read."""
import contextlib
import os
import pty
import re
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, QI, TRANCOUNT, VelmarTestCase, summary  # noqa: E402

USAGE = r"velmar - Usage\n(.+\n){9}\Z"
NO_DISPLAY = r"velmar: le mode fenêtre a besoin d'un affichage \(DISPLAY ou WAYLAND_DISPLAY\)\n"


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
            "1_view.sql": "create view v as select 1 as n\ngo\ngrant select on v to r\n",
            "2_purge.sql": "create proc p as\n-- frees 2 Go\ndelete from t\nGO\n",
            # A GO in a comment is text: three batches, the last one a line end.
            "2_usp_cmt.sql": "CREATE PROCEDURE dbo.usp_Cmt AS SELECT 1\nGO\n/* Ancienne version :\n"
                             "CREATE PROCEDURE dbo.usp_Old AS SELECT 0\nGO\n*/\n"
                             "GRANT EXECUTE ON dbo.usp_Cmt TO public\nGO\n",
            "3_open.sql": "begin tran\r\ninsert into t values (1)\r\n",
            "4_after.SQL": "insert into t values (2)\r\n",
            "5_commit.sql": "begin transaction\r\nGO\r\ninsert into t values (3)\r\nGO\r\ncommit",
            # The error follows other results: each must be read for it to be seen.
            "6_bad.sql": "print 'x'\r\nselect 1\r\nselect 2\r\nraiserror('boom', 16, 1)\r\n",
            "7_long.sql": long, "8_u16be.sql": b"\xfe\xff" + text.encode("utf-16-be"),
            "8_u16le.sql": b"\xff\xfe" + text.encode("utf-16-le"), "8_u8.sql": text,
            "8_u8bom.sql": b"\xef\xbb\xbf" + text.encode(), "8_w1252.sql": latin.encode("cp1252"),
            ".hidden.sql": "x", "notes.txt": "x", "dir.sql/inner.sql": "x"}
        for name, content in files.items():
            self.write("src/" + name, content)
        self.assertEqual(1, self.velmar()[0])
        self.assertEqual([self.header(), ("1_view.sql", OK), ("2_purge.sql", OK),
                          ("2_usp_cmt.sql", OK),
                          ("3_open.sql", "Transaction laissée ouverte par le script : annulée."),
                          ("4_after.SQL", OK), ("5_commit.sql", OK),
                          ("6_bad.sql", "[FreeTDS][SQL Server]boom"), ("7_long.sql", OK),
                          *[(name, OK) for name in list(files)[8:13]], summary(13, 11, 2)],
                         self.log_entries())
        self.assertEqual([QI, "create view v as select 1 as n\n", "\ngrant select on v to r\n",
                          "create proc p as\n-- frees 2 Go\ndelete from t\n", "\n",
                          "CREATE PROCEDURE dbo.usp_Cmt AS SELECT 1\n",
                          "\n/* Ancienne version :\nCREATE PROCEDURE dbo.usp_Old AS SELECT 0\n"
                          "GO\n*/\nGRANT EXECUTE ON dbo.usp_Cmt TO public\n", "\n",
                          "begin tran\r\ninsert into t values (1)\r\n", "rollback transaction",
                          "insert into t values (2)\r\n", "begin transaction\r\n",
                          "\r\ninsert into t values (3)\r\n", "\r\ncommit", files["6_bad.sql"],
                          long, *4 * [text], latin], self.batches())
        self.assertEqual(13, [e["text"] for e in self.journal("batch")].count(TRANCOUNT))

    def test_command_line(self):
        self.write("src/a.sql", "select 1\r\n")
        good = ["-E", "1", "-U", "sa", "-P", "secret", "-S", self.server, "-B", "Sales",
                "-D", "src", "-L", "run.log"]
        refused = [("missing -L", good[:-2], None), ("-E 1.5", ["-E", "1.5"] + good[2:], None),
                   ("-?", ["-?"] + good, None), ("no display", [], None),
                   ("unreachable display", [], ":97")]
        for label, args, display in refused:
            with self.subTest(label):
                status, err = self.run_raw(*args, display=display)
                self.assertEqual(2, status, err)
                self.assertRegex(err, ("" if args else NO_DISPLAY) + USAGE)
        self.assertEqual(([], []), (self.log_entries(), self.journal("login")))

        # Options in any order and letter case.
        status, err = self.run_raw("-l", "run.log", "-b", "Demo", "-S", self.server, "-d", "src",
                                   "-p", "secret", "-u", "SA", "-e", "0")
        self.assertEqual(0, status, err)
        self.assertEqual([self.header("Demo", "SA"), ("a.sql", OK), summary(1, 1, 0)],
                         self.log_entries())

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


if __name__ == "__main__":
    unittest.main()
