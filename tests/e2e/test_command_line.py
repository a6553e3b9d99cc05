"""The command line: usage, window mode without a display, options in any order and case."""
import os
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, VelmarTestCase, summary  # noqa: E402


class CommandLine(VelmarTestCase):
    def setUp(self):
        super().setUp()
        self.write("src/a.sql", "select 1\r\n")

    def test_usage(self):
        good = ["-E", "1", "-U", "sa", "-P", "secret", "-S", self.server, "-B", "Sales",
                "-D", "src", "-L", "run.log"]
        cases = {"missing -L": good[:-2], "decimal -E": ["-E", "1.5"] + good[2:],
                 "unknown option": good + ["-X", "1"], "-?": ["-?"] + good}
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


if __name__ == "__main__":
    unittest.main()
