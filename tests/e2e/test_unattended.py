"""Unattended loads against the scripted TDS server: what it receives and what the log says."""
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, TRANCOUNT, VelmarTestCase, summary  # noqa: E402

QI = "set quoted_identifier off"


class UnattendedLoad(VelmarTestCase):
    def test_folder_with_go_lines_and_transactions(self):
        self.write("src/1_view.sql", "create view v as select 1 as n\ngo\ngrant select on v to r\n")
        self.write("src/2_purge.sql", "create proc p as\n-- frees 2 Go\ndelete from t\nGO\n")
        self.write("src/3_open.sql", "begin tran\r\ninsert into t values (1)\r\n")
        self.write("src/4_after.SQL", "insert into t values (2)\r\n")
        self.write("src/5_commit.sql",
                   "begin transaction\r\nGO\r\ninsert into t values (3)\r\nGO\r\ncommit\r\n")
        self.write("src/6_bad.sql", "raiserror('boom', 16, 1)\r\n")
        for ignored in ("src/.hidden.sql", "src/notes.txt", "src/dir.sql/inner.sql"):
            self.write(ignored, "select 7\r\n")
        self.assertEqual(1, self.velmar("src").returncode)
        self.assertEqual([self.header(), ("1_view.sql", OK), ("2_purge.sql", OK),
                          ("3_open.sql", "Transaction laissée ouverte par le script : annulée."),
                          ("4_after.SQL", OK), ("5_commit.sql", OK),
                          ("6_bad.sql", "[FreeTDS][SQL Server]boom"), summary(6, 4, 2)],
                         self.log_entries())
        self.assertEqual([QI, "create view v as select 1 as n\n", "\ngrant select on v to r\n",
                          "create proc p as\n-- frees 2 Go\ndelete from t\n", "\n",
                          "begin tran\r\ninsert into t values (1)\r\n", "rollback transaction",
                          "insert into t values (2)\r\n", "begin transaction\r\n",
                          "\r\ninsert into t values (3)\r\n", "\r\ncommit\r\n",
                          "raiserror('boom', 16, 1)\r\n"], self.batches())
        self.assertEqual(6, [e["text"] for e in self.journal("batch")].count(TRANCOUNT))
        self.assertEqual([("begin", None), ("rollback", ["insert into t values (1)"]),
                          ("begin", None), ("commit", None)],
                         [(e["op"], e.get("undone")) for e in self.journal("tran")])
        self.assertEqual([("sa", "Sales", True)],
                         [(e["user"], e["database"], e["ok"]) for e in self.journal("login")])

    def test_encodings_reach_the_server_unchanged(self):
        text = "select 'é€ü'\r\n"
        files = {"u8.sql": text.encode("utf-8"), "u8bom.sql": b"\xef\xbb\xbf" + text.encode("utf-8"),
                 "u16le.sql": b"\xff\xfe" + text.encode("utf-16-le"),
                 "u16be.sql": b"\xfe\xff" + text.encode("utf-16-be"), "w1252.sql": text.encode("cp1252")}
        for name, content in files.items():
            with self.subTest(name):
                self.write(name, content)
                self.assertEqual(0, self.velmar(name, log=name + ".log").returncode)
                self.assertEqual([self.header(), (name, OK), summary(1, 1, 0)],
                                 self.log_entries(name + ".log"))
                self.assertEqual([QI, text], self.batches()[-2:])


if __name__ == "__main__":
    unittest.main()
