"""An unattended load shows its progress on standard error only when that is a terminal."""
import os
import pty
import re
import sys
import unittest

sys.dont_write_bytecode = True
from harness import OK, VelmarTestCase, summary  # noqa: E402


def drain(fd):
    chunks = []
    while True:
        try:
            chunk = os.read(fd, 4096)
        except OSError:  # EIO once the terminal's last writer has gone
            break
        if not chunk:
            break
        chunks.append(chunk)
    os.close(fd)
    return b"".join(chunks).decode("utf-8")


class TerminalProgress(VelmarTestCase):
    def test_progress_line_and_summary_on_a_terminal_and_nothing_in_a_pipe(self):
        self.write("src/a.sql", "select 1\r\n")
        self.write("src/b.sql", "raiserror('boom', 16, 1)\r\n")
        self.write("src/c.sql", "select 3\r\n")
        log = [self.header(), ("a.sql", OK), ("b.sql", "[FreeTDS][SQL Server]boom"),
               summary(3, 1, 1, remaining=1)]

        terminal, attached = pty.openpty()
        result = self.velmar("src", error="0", log="tty.log", stderr=attached)
        os.close(attached)
        screen = re.sub(r"\d+h\d+m\d+s", "<elapsed>", drain(terminal))
        self.assertEqual(1, result.returncode)
        # The terminal turns each line feed into CR LF.
        self.assertEqual(f"\r0/3 [{'.' * 30}] <elapsed>\r1/3 [{'#' * 10}{'.' * 20}] <elapsed>"
                         f"\r\n{summary(3, 1, 1, remaining=1)}\r\n", screen)
        self.assertEqual(log, self.log_entries("tty.log"))

        piped = self.velmar("src", error="0", log="pipe.log")
        self.assertEqual((1, ""), (piped.returncode, piped.stderr))
        self.assertEqual(log, self.log_entries("pipe.log"))


if __name__ == "__main__":
    unittest.main()
