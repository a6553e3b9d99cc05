"""Unattended loads against the scripted TDS server: what it receives and what the log says."""
import os
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, TRANCOUNT, VelmarTestCase, not_found, summary  # noqa: E402

QI = "set quoted_identifier off"
BOOM = "[FreeTDS][SQL Server]boom"
FAIL = "raiserror('boom', 16, 1)\r\n"


class FolderLoad(VelmarTestCase):
    def test_folder_scripts_in_name_order_with_exact_batches(self):
        self.write("src/B1.sql", "create proc p1 as select 'GOAL', cargo from t\r\ngo\r\n"
                                 "grant exec on p1 to public\r\nGO\r\nselect 3\r\n")
        self.write("src/a2.sql", FAIL)
        self.write("src/c3.SQL", "select 4\r\n")
        self.write("src/.hidden.sql", "select 5\r\n")
        self.write("src/notes.txt", "select 6\r\n")
        self.write("src/dir.sql/inner.sql", "select 7\r\n")
        result = self.velmar("src")
        self.assertEqual(1, result.returncode, result.stderr)
        self.assertEqual([self.header(), ("a2.sql", BOOM), ("B1.sql", OK), ("c3.SQL", OK),
                          summary(3, 2, 1)], self.log_entries())
        self.assertEqual([QI, FAIL, "create proc p1 as select 'GOAL', cargo from t\r\n",
                          "\r\ngrant exec on p1 to public\r\n", "\r\nselect 3\r\n", "select 4\r\n"],
                         self.batches())
        self.assertEqual([("sa", "Sales", True)],
                         [(e["user"], e["database"], e["ok"]) for e in self.journal("login")])
        self.assertEqual(1, len(self.journal("disconnect")))


class SingleScript(VelmarTestCase):
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


class ScriptsAsPeopleWriteThem(VelmarTestCase):
    def test_go_lines_and_transactions(self):
        self.write("src/1_view.sql", "create view v as select 1 as n\ngo\ngrant select on v to r\n")
        self.write("src/2_purge.sql", "create proc p as\n-- frees 2 Go\ndelete from t\nGO\n")
        self.write("src/3_open.sql", "begin tran\r\ninsert into t values (1)\r\n")
        self.write("src/4_after.sql", "insert into t values (2)\r\n")
        self.write("src/5_commit.sql",
                   "begin transaction\r\nGO\r\ninsert into t values (3)\r\nGO\r\ncommit\r\n")
        self.assertEqual(1, self.velmar("src").returncode)
        self.assertEqual([self.header(), ("1_view.sql", OK), ("2_purge.sql", OK),
                          ("3_open.sql", "Transaction laissée ouverte par le script : annulée."),
                          ("4_after.sql", OK), ("5_commit.sql", OK), summary(5, 4, 1)],
                         self.log_entries())
        self.assertEqual([QI, "create view v as select 1 as n\n", "\ngrant select on v to r\n",
                          "create proc p as\n-- frees 2 Go\ndelete from t\n", "\n",
                          "begin tran\r\ninsert into t values (1)\r\n", "rollback transaction",
                          "insert into t values (2)\r\n", "begin transaction\r\n",
                          "\r\ninsert into t values (3)\r\n", "\r\ncommit\r\n"], self.batches())
        self.assertEqual(5, [e["text"] for e in self.journal("batch")].count(TRANCOUNT))
        self.assertEqual([("begin", None), ("rollback", ["insert into t values (1)"]),
                          ("begin", None), ("commit", None)],
                         [(e["op"], e.get("undone")) for e in self.journal("tran")])


class ListFile(VelmarTestCase):
    def setUp(self):
        super().setUp()
        self.write("scripts/a.sql", "select 1\r\n")
        self.write("scripts/b.txt", "select 2\r\n")
        self.write("scripts/bad.sql", FAIL)

    def test_repeated_blank_and_missing_lines(self):
        # Entries are relative to the working directory, not to the list's folder.
        self.write("lists/list.txt", "scripts/a.sql\r\n\r\nSCRIPTS/A.SQL\r\nscripts/missing.sql\r\n"
                                     "scripts/b.txt\r\nscripts/a.sql\r\n\r\nscripts/bad.sql\r\n")
        result = self.velmar("lists/list.txt", mode="-F")
        self.assertEqual(1, result.returncode, result.stderr)
        self.assertEqual([self.header(), ("a.sql", OK), not_found("scripts/missing.sql"),
                          ("b.txt", OK), ("bad.sql", BOOM), summary(4, 2, 2)], self.log_entries())
        self.assertEqual([QI, "select 1\r\n", "select 2\r\n", FAIL], self.batches())


if __name__ == "__main__":
    unittest.main()
