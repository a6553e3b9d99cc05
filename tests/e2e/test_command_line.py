"""The command line, the exit statuses and the runs that cannot be carried out."""
import os
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, VelmarTestCase, not_found, summary  # noqa: E402


class CommandLine(VelmarTestCase):
    def setUp(self):
        super().setUp()
        self.write("src/a.sql", "select 1\r\n")

    def test_usage(self):
        good = ["-E", "1", "-U", "sa", "-P", "secret", "-S", self.server, "-B", "Sales",
                "-D", "src", "-L", "run.log"]
        cases = {"missing -L": good[:-2], "missing -U": good[:2] + good[4:],
                 "non-integer -E": ["-E", "x"] + good[2:], "decimal -E": ["-E", "1.5"] + good[2:],
                 "unknown option": good + ["-X", "1"], "value missing": good + ["-E"],
                 "-?": ["-?"] + good}
        for label, args in cases.items():
            with self.subTest(label):
                result = self.run_raw(*args)
                self.assertEqual(2, result.returncode)
                lines = result.stderr.splitlines()
                self.assertEqual("velmar - Usage", lines[0])
                self.assertEqual(10, len(lines), result.stderr)
                for option in "EUPSBDFL":
                    self.assertTrue(any(f"-{option} :" in line for line in lines[1:]), option)
        self.assertFalse(os.path.exists(self.path("run.log")))
        self.assertEqual([], self.journal("login"))

    def test_window_mode_without_a_display(self):
        # None at all, then one that is named but cannot be reached.
        for display in (None, ":97"):
            with self.subTest(display=display):
                result = self.run_raw(display=display)
                self.assertEqual(2, result.returncode, result.stderr)
                lines = result.stderr.splitlines()
                start = lines.index("velmar: le mode fenêtre a besoin d'un affichage "
                                    "(DISPLAY ou WAYLAND_DISPLAY)")
                self.assertEqual("velmar - Usage", lines[start + 1])
                self.assertEqual(start + 11, len(lines), result.stderr)
                if display is None:
                    self.assertEqual(0, start, result.stderr)

    def test_options_in_any_order_and_case(self):
        result = self.run_raw("-l", "run.log", "-b", "Demo", "-S", self.server, "-d", "src",
                              "-p", "secret", "-u", "SA", "-e", "0")
        self.assertEqual(0, result.returncode, result.stderr)
        self.assertEqual([self.header("Demo", "SA"), ("a.sql", OK), summary(1, 1, 0)],
                         self.log_entries())
        self.assertEqual([("SA", "Demo", True)],
                         [(e["user"], e["database"], e["ok"]) for e in self.journal("login")])



class NotCarriedOut(VelmarTestCase):
    """Exit status 3 with one line on stderr saying why."""

    def setUp(self):
        super().setUp()
        self.write("src/a.sql", "select 1\r\n")

    def check_failure(self, result):
        self.assertEqual(3, result.returncode)
        lines = result.stderr.splitlines()
        self.assertEqual(1, len(lines), result.stderr)
        self.assertTrue(lines[0].strip())

    def check_no_script_sent(self):
        self.assertEqual([], [b for b in self.batches() if b != "set quoted_identifier off"])

    def test_no_server_listening(self):
        self.stop_server()
        self.check_failure(self.velmar("src"))
        self.assertEqual([self.login_failure()], self.log_entries())

    def test_missing_sources(self):
        with self.subTest("folder or script"):
            self.check_failure(self.velmar("nothere", log="d.log"))
            self.assertEqual([self.header(), not_found("nothere"), summary(0, 0, 0)],
                             self.log_entries("d.log"))
        with self.subTest("list file"):
            self.check_failure(self.velmar("missing.txt", mode="-F", log="f.log"))
            self.assertEqual([self.header(), "Le fichier ou répertoire 'missing.txt' "
                                             "n'est pas accessible."], self.log_entries("f.log"))
        self.check_no_script_sent()


if __name__ == "__main__":
    unittest.main()
