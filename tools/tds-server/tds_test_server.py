#!/usr/bin/env python3
"""A small scripted TDS 7.x server for Velmar's tests.

FreeTDS's ODBC driver talks to it over 127.0.0.1 as it would to SQL Server.
It does not run SQL: it recognises a few constructs in each batch (RAISERROR,
THROW, PRINT, WAITFOR DELAY, INSERT/UPDATE/DELETE, USE, SET <option>, SELECT of
integers, @@TRANCOUNT, @@OPTIONS and DB_NAME(), SHUTDOWN) and answers with the
tokens SQL Server would send for them, keeping each connection's database, SET
options and transaction. Every login,
batch, attention, transaction request and disconnect is appended to a JSON
Lines journal so a test can check exactly what the client sent.
Python 3 standard library only.
"""

import argparse
import json
import os
import re
import select
import signal
import socket
import struct
import sys
import threading
import time

# Packet types (first byte of the 8-byte packet header).
PKT_BATCH, PKT_RPC, PKT_REPLY, PKT_ATTENTION = 1, 3, 4, 6
PKT_TRANSACTION, PKT_LOGIN7, PKT_PRELOGIN = 14, 16, 18
ST_EOM, ST_IGNORE = 0x01, 0x02

DONE_FINAL, DONE_MORE, DONE_ERROR, DONE_COUNT, DONE_ATTN = 0, 0x01, 0x02, 0x10, 0x20
CMD_SELECT, CMD_INSERT, CMD_DELETE, CMD_UPDATE = 0xC1, 0xC3, 0xC4, 0xC5

SERVER_NAME = "VELMARTEST"
PROGRAM_NAME = "Velmar Test Server"
SERVER_VERSION = bytes([15, 0, 0x07, 0xD0])          # reported as 15.0.2000
COLLATION = bytes([0x09, 0x04, 0xD0, 0x00, 0x34])    # Latin1_General_CI_AS
DEFAULT_PACKET_SIZE = 4096
TDS72 = 0x72090002
LOGIN_ODBC = 0x02                                    # OptionFlags2 bit: the client is ODBC

# The @@OPTIONS bits a SET statement turns on and off.
SET_OPTIONS = {
    "IMPLICIT_TRANSACTIONS": 2, "CURSOR_CLOSE_ON_COMMIT": 4, "ANSI_WARNINGS": 8,
    "ANSI_PADDING": 16, "ANSI_NULLS": 32, "ARITHABORT": 64, "ARITHIGNORE": 128,
    "QUOTED_IDENTIFIER": 256, "NOCOUNT": 512, "ANSI_NULL_DFLT_ON": 1024,
    "ANSI_NULL_DFLT_OFF": 2048, "CONCAT_NULL_YIELDS_NULL": 4096, "NUMERIC_ROUNDABORT": 8192,
    "XACT_ABORT": 16384}
IMPLICIT_TRANSACTIONS = SET_OPTIONS["IMPLICIT_TRANSACTIONS"]
QUOTED_IDENTIFIER = SET_OPTIONS["QUOTED_IDENTIFIER"]
# Setting one of these on sets the other off.
EXCLUSIVE = {"ANSI_NULL_DFLT_ON": "ANSI_NULL_DFLT_OFF", "ANSI_NULL_DFLT_OFF": "ANSI_NULL_DFLT_ON"}
# What SQL Server gives a login flagged ODBC: ANSI_WARNINGS, ANSI_PADDING, ANSI_NULLS,
# QUOTED_IDENTIFIER, ANSI_NULL_DFLT_ON and CONCAT_NULL_YIELDS_NULL (5432); others get none.
ODBC_OPTIONS = 8 | 16 | 32 | 256 | 1024 | 4096



def ucs2(text):
    return text.encode("utf-16-le", "surrogatepass")


def b_varchar(text):
    """String with a 1-byte length in characters (UTF-16 code units)."""
    data = ucs2(text)
    return bytes([len(data) // 2]) + data


def us_varchar(text):
    """String with a 2-byte length in characters."""
    data = ucs2(text)
    return struct.pack("<H", len(data) // 2) + data


def message_token(token, number, cls, state, text, line):
    body = (struct.pack("<iBB", number, state, cls) + us_varchar(text)
            + b_varchar(SERVER_NAME) + b_varchar("") + struct.pack("<i", line))
    return bytes([token]) + struct.pack("<H", len(body)) + body


def error_token(number, cls, state, text, line=1):
    return message_token(0xAA, number, cls, state, text, line)


def info_token(number, cls, state, text, line=1):
    return message_token(0xAB, number, cls, state, text, line)


def done_token(status, rowcount=0, curcmd=0):
    return struct.pack("<BHHQ", 0xFD, status, curcmd, rowcount)


def envchange(kind, new, old):
    body = bytes([kind]) + new + old
    return b"\xe3" + struct.pack("<H", len(body)) + body


def loginack(tds_version):
    # The version is big-endian here although LOGIN7 sends it little-endian.
    body = (b"\x01" + struct.pack(">I", tds_version) + b_varchar(PROGRAM_NAME)
            + SERVER_VERSION)
    return b"\xad" + struct.pack("<H", len(body)) + body


def row_result(values):
    """COLMETADATA + ROW for one row of unnamed nullable columns: an int is an INT (BIGINT if
    it must), a str an NVARCHAR(128)."""
    columns, row = b"", b""
    for value in values:
        if isinstance(value, str):
            data = ucs2(value)
            columns += (struct.pack("<IH", 0, 0x0001) + b"\xe7" + struct.pack("<H", 256)
                        + COLLATION + b_varchar(""))
            row += struct.pack("<H", len(data)) + data
        else:
            size = 4 if -2**31 <= value < 2**31 else 8
            columns += struct.pack("<IH", 0, 0x0001) + bytes([0x26, size]) + b_varchar("")
            row += bytes([size]) + value.to_bytes(size, "little", signed=True)
    return (b"\x81" + struct.pack("<H", len(values)) + columns + b"\xd1" + row
            + done_token(DONE_MORE | DONE_COUNT, 1, CMD_SELECT))


def prelogin_reply():
    # Encryption "not supported" (2): "off" (0) would still make FreeTDS
    # encrypt the login packet.
    options = [(0, SERVER_VERSION + b"\x00\x00"), (1, b"\x02"), (2, b"\x00"),
               (3, b""), (4, b"\x00")]
    offset = 5 * len(options) + 1
    head, data = b"", b""
    for token, value in options:
        head += struct.pack(">BHH", token, offset + len(data), len(value))
        data += value
    return head + b"\xff" + data



def unscramble(raw):
    """Undo the LOGIN7 password obfuscation: XOR 0xA5, then swap nibbles."""
    out = bytearray()
    for b in raw:
        b ^= 0xA5
        out.append(((b << 4) & 0xF0) | (b >> 4))
    return bytes(out)


def parse_login7(payload):
    tds_version, packet_size = struct.unpack_from("<II", payload, 4)

    def field(pos, password=False):
        offset, chars = struct.unpack_from("<HH", payload, pos)
        raw = payload[offset:offset + 2 * chars]
        return (unscramble(raw) if password else raw).decode("utf-16-le", "replace")

    return {"version": tds_version, "packet_size": packet_size, "flags2": payload[25],
            "user": field(40), "password": field(44, password=True),
            "database": field(68)}


def strip_all_headers(payload, tds_version):
    """7.2+ requests start with ALL_HEADERS; its first DWORD is its length."""
    if tds_version >= TDS72 and len(payload) >= 4:
        return payload[struct.unpack_from("<I", payload)[0]:]
    return payload


def batch_text(payload, tds_version):
    # surrogatepass keeps even unpaired surrogates; the journal escapes them.
    return strip_all_headers(payload, tds_version).decode("utf-16-le", "surrogatepass")


TM_REQUESTS = {5: "begin", 7: "commit", 8: "rollback", 9: "save"}


def transaction_request(payload, tds_version):
    """Name of a transaction manager request (FreeTDS's SQLEndTran/autocommit)."""
    body = strip_all_headers(payload, tds_version)
    code = struct.unpack_from("<H", body)[0] if len(body) >= 2 else -1
    return TM_REQUESTS.get(code, str(code))



# Comments and string literals are matched too, so that words inside them
# are skipped rather than taken for constructs.
BATCH_RE = re.compile(r"""
      (?P<comment> --[^\n]* | /\*.*?\*/ )
    | (?P<raiserror> \bRAISERROR\s*\(\s*N?'(?P<r_text>(?:[^']|'')*)'
                     \s*,\s*(?P<r_sev>-?\d+)\s*,\s*(?P<r_state>-?\d+)[^)]*\) )
    | (?P<throw> \bTHROW\s+(?P<t_num>-?\d+)\s*,\s*N?'(?P<t_text>(?:[^']|'')*)'
                 \s*,\s*(?P<t_state>\d+) )
    | (?P<print> \bPRINT\s+N?'(?P<p_text>(?:[^']|'')*)' )
    | (?P<waitfor> \bWAITFOR\s+DELAY\s+N?'\s*(?P<w_h>\d+):(?P<w_m>\d+):(?P<w_s>\d+)
                   (?:\.(?P<w_ms>\d{1,3}))?\s*' )
    | (?P<begin> \bBEGIN\s+TRAN(?:SACTION)?\b )
    | (?P<commit> \bCOMMIT(?:\s+TRAN(?:SACTION)?)?\b )
    | (?P<rollback> \bROLLBACK(?:\s+TRAN(?:SACTION)?)?\b )
    | (?P<dml> \b(?:INSERT|UPDATE|DELETE)\b )
    | (?P<use> \bUSE\s+(?:\[(?P<u_quoted>(?:[^\]]|\]\])+)\]|(?P<u_name>[\w@#$]+)) )
    | (?P<set> \bSET\s+(?P<s_names>\w+(?:\s*,\s*\w+)*)\s+(?P<s_value>ON|OFF)\b )
    | (?P<select> \bSELECT\s+(?P<values>{value}(?:\s*,\s*{value})*) )
    | (?P<shutdown> \bSHUTDOWN\b )
    | (?P<string> N?'(?:[^']|'')*' )
    | (?P<dquoted> "(?P<d_text>(?:[^"]|"")*)" )
""".replace("{value}", r"(?:@@TRANCOUNT\b|@@OPTIONS\b|DB_NAME\s*\(\s*\)|-?\d+\b(?!\.))"),
    re.I | re.S | re.X)
SELECT_VALUE = re.compile(r"@@(\w+)|DB_NAME|(-?\d+)", re.I)

# A batch defining a module: its SET statements are part of the body, not run.
MODULE_RE = re.compile(r"(?:\s|--[^\n]*|/\*.*?\*/)*(?:CREATE|ALTER)\s+(?:OR\s+ALTER\s+)?"
                       r"(?:PROC(?:EDURE)?|FUNCTION|TRIGGER)\b", re.I | re.S)
QUOTED_IDENTIFIER_OFF = re.compile(r"\s*set\s+quoted_identifier\s+off\s*", re.I)
DML_COMMANDS = {"INSERT": CMD_INSERT, "UPDATE": CMD_UPDATE, "DELETE": CMD_DELETE}


def unquote(text):
    return text.replace("''", "'")


def clamp_byte(n):
    return max(0, min(255, n))


def delay_seconds(m):
    ms = int((m.group("w_ms") or "0").ljust(3, "0"))
    return (int(m.group("w_h")) * 3600 + int(m.group("w_m")) * 60
            + int(m.group("w_s")) + ms / 1000.0)


class Session:
    """A connection's database, SET options and transaction."""

    def __init__(self, database, options, known, record):
        self.database, self.options, self.known = database, options, known
        self.tran = Transaction(record)

    def value(self, m):
        """The value of one item of a SELECT list."""
        if m.group(2) is not None:
            return int(m.group(2))
        if m.group(1) is None:
            return self.database
        return self.tran.count if m.group(1).upper() == "TRANCOUNT" else self.options

    def set(self, name, on):
        bit = SET_OPTIONS[name]
        self.options = self.options | bit if on else self.options & ~bit
        if on and name in EXCLUSIVE:
            self.options &= ~SET_OPTIONS[EXCLUSIVE[name]]


class Transaction:
    """The connection's open transaction: its depth and the changes a rollback undoes."""

    def __init__(self, record):
        self.count, self.changes, self.record = 0, [], record

    def begin(self):
        self.count += 1
        self.record("begin", trancount=self.count)

    def commit(self):
        self.count -= 1
        if self.count == 0:
            self.changes = []
        self.record("commit", trancount=self.count)

    def rollback(self):
        undone, self.count, self.changes = self.changes, 0, []
        self.record("rollback", trancount=0, undone=undone)


def rest_of_line(text, start):
    end = text.find("\n", start)
    return text[start:end if end >= 0 else len(text)].rstrip()


def no_begin(number, statement, line):
    return (error_token(number, 16, 1, f"The {statement} TRANSACTION request has no "
                        "corresponding BEGIN TRANSACTION.", line) + done_token(DONE_ERROR))


class Cancelled(Exception):
    """An attention (or the client going away) interrupted the batch."""


def run_batch(text, options, wait, session):
    """Return the answer's tokens, or None to drop the connection unanswered.

    `wait(seconds)` sleeps and raises Cancelled when an attention arrives.
    """
    if options.fail_quoted_identifier and QUOTED_IDENTIFIER_OFF.fullmatch(text):
        return (error_token(102, 15, 1, "Incorrect syntax near 'quoted_identifier'.")
                + done_token(DONE_ERROR))
    out, tran, module = bytearray(), session.tran, MODULE_RE.match(text)
    line, counted = 1, 0  # counted as the constructs come, so long batches stay linear
    for m in BATCH_RE.finditer(text):
        kind = m.lastgroup
        line += text.count("\n", counted, m.start())
        counted = m.start()
        if kind == "raiserror":
            sev, state = int(m.group("r_sev")), clamp_byte(int(m.group("r_state")))
            message = unquote(m.group("r_text"))
            if sev >= 11:
                out += error_token(50000, clamp_byte(sev), state, message, line)
                return bytes(out + done_token(DONE_ERROR))
            out += info_token(50000, clamp_byte(sev), state, message, line)
        elif kind == "throw":
            out += error_token(int(m.group("t_num")), 16, clamp_byte(int(m.group("t_state"))),
                               unquote(m.group("t_text")), line)
            return bytes(out + done_token(DONE_ERROR))
        elif kind == "print":
            out += info_token(0, 0, 1, unquote(m.group("p_text")), line)
        elif kind == "waitfor":
            wait(delay_seconds(m))
        elif kind == "begin":
            tran.begin()
        elif kind in ("commit", "rollback"):
            if tran.count == 0:
                return bytes(out + no_begin(3902 if kind == "commit" else 3903, kind.upper(), line))
            tran.commit() if kind == "commit" else tran.rollback()
        elif kind == "dml":
            if not tran.count and session.options & IMPLICIT_TRANSACTIONS:
                tran.begin()
            if tran.count:
                tran.changes.append(rest_of_line(text, m.start()))
            out += done_token(DONE_MORE | DONE_COUNT, 1, DML_COMMANDS[m.group("dml").upper()])
        elif kind == "use":
            quoted = m.group("u_quoted")
            name = quoted.replace("]]", "]") if quoted else m.group("u_name")
            database = next((d for d in session.known if d.lower() == name.lower()), None)
            if database is None:
                return bytes(out + error_token(911, 16, 1, f"Database '{name}' does not exist. "
                                               "Make sure that the name is entered correctly.",
                                               line) + done_token(DONE_ERROR))
            out += (envchange(1, b_varchar(database), b_varchar(session.database))
                    + info_token(5701, 0, 1, f"Changed database context to '{database}'.", line))
            session.database = database
        elif kind == "set" and not module:
            names = [n.upper() for n in re.split(r"\s*,\s*", m.group("s_names"))]
            if all(n in SET_OPTIONS for n in names):  # other SET statements just succeed
                for name in names:
                    session.set(name, m.group("s_value").upper() == "ON")
        elif kind == "select":
            out += row_result([session.value(v)
                               for v in SELECT_VALUE.finditer(m.group("values"))])
        elif kind == "dquoted" and session.options & QUOTED_IDENTIFIER:
            # An identifier then, and no column has that name.
            name = m.group("d_text").replace('""', '"')
            return bytes(out + error_token(207, 16, 1, f"Invalid column name '{name}'.", line)
                         + done_token(DONE_ERROR))
        elif kind == "shutdown":
            return None
        # comments and string literals are skipped so their words don't count
    return bytes(out + done_token(DONE_FINAL))



class Journal:
    def __init__(self, path):
        # backslashreplace turns an unpaired surrogate into its JSON escape.
        self.file = open(path, "a", encoding="utf-8", errors="backslashreplace")
        self.lock = threading.Lock()

    def write(self, event, conn, **fields):
        line = json.dumps(dict(event=event, conn=conn, **fields), ensure_ascii=False,
                          separators=(",", ":"))
        with self.lock:
            self.file.write(line + "\n")
            self.file.flush()



class Connection:
    def __init__(self, sock, number, options, journal):
        self.sock, self.number = sock, number
        self.options, self.journal = options, journal
        self.spid = 50 + number % 30000  # non-zero, or FreeTDS asks @@spid
        self.packet_id = 1
        self.packet_size = DEFAULT_PACKET_SIZE
        self.tds_version = 0
        self.received = bytearray()      # read from the socket, not yet taken
        self.parts = []                  # packets of the message being received
        self.held = []                   # messages that came in during a WAITFOR
        self.gone = False
        self.session = None              # set by the login

    def serve(self):
        try:
            while True:
                message = self.held.pop(0) if self.held else self.read_message()
                if message is None or not self.dispatch(*message):
                    break
        except OSError:
            pass
        finally:
            self.close()
            if self.session and self.session.tran.count:  # as a server does when it ends
                self.session.tran.rollback()
            self.journal.write("disconnect", self.number)

    # One thread reads and answers: handing each request to another thread
    # costs more than the server's own work on it.
    def read_message(self):
        """The next message as (type, payload); None once the client is gone."""
        try:
            while True:
                header = self.recv_exact(8)
                ptype, status, length = struct.unpack_from(">BBH", header)
                body = self.recv_exact(length - 8) if length > 8 else b""
                if ptype == PKT_ATTENTION:
                    self.journal.write("attention", self.number)
                    return ptype, b""
                self.parts.append(body)
                if status & ST_IGNORE:
                    self.parts = []  # the client abandoned this message
                elif status & ST_EOM:
                    message, self.parts = (ptype, b"".join(self.parts)), []
                    return message
        except (OSError, EOFError):
            self.gone = True
            return None

    def recv_exact(self, count):
        while len(self.received) < count:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise EOFError
            self.received += chunk
        data = bytes(self.received[:count])
        del self.received[:count]
        return data

    def send(self, data):
        room = self.packet_size - 8
        pieces = [data[i:i + room] for i in range(0, len(data), room)] or [b""]
        for i, piece in enumerate(pieces):
            status = ST_EOM if i == len(pieces) - 1 else 0
            header = struct.pack(">BBHHBB", PKT_REPLY, status, len(piece) + 8,
                                 self.spid, self.packet_id, 0)
            self.packet_id = (self.packet_id + 1) % 256
            self.sock.sendall(header + piece)

    def close(self):
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self.sock.close()

    def dispatch(self, ptype, payload):
        """Answer one message; False ends the connection."""
        if ptype == PKT_PRELOGIN:
            self.send(prelogin_reply())
        elif ptype == PKT_LOGIN7:
            return self.login(payload)
        elif not self.session:
            return False
        elif ptype == PKT_BATCH:
            return self.batch(payload)
        elif ptype == PKT_ATTENTION:
            # Late attention: the answer was complete, but FreeTDS still waits
            # for this acknowledgement.
            self.send(done_token(DONE_ATTN))
        elif ptype == PKT_TRANSACTION:
            # No transaction is kept; the journal is what tests look at.
            self.journal.write("transaction", self.number,
                               request=transaction_request(payload, self.tds_version))
            self.send(done_token(DONE_FINAL))
        else:
            self.journal.write("unsupported", self.number, type=ptype)
            self.send(error_token(50000, 16, 1, f"Request type {ptype} is not "
                                  f"supported by {PROGRAM_NAME}.")
                      + done_token(DONE_ERROR))
        return True

    def login(self, payload):
        login = parse_login7(payload)
        user, requested = login["user"], login["database"] or "master"
        database = next((d for d in self.options.databases
                         if d.lower() == requested.lower()), None)
        if user.lower() != self.options.user.lower() or login["password"] != self.options.password:
            return self.refuse(user, requested, 18456, 14,
                               f"Login failed for user '{user}'.")
        if database is None:
            return self.refuse(user, requested, 4060, 11,
                               f'Cannot open database "{requested}" requested by '
                               f"the login. The login failed.")
        self.tds_version = login["version"]
        if 512 <= login["packet_size"] <= 32767:
            self.packet_size = login["packet_size"]
        self.send(envchange(1, b_varchar(database), b_varchar("master"))
                  + info_token(5701, 0, 1, f"Changed database context to '{database}'.")
                  + envchange(7, bytes([len(COLLATION)]) + COLLATION, b"\x00")
                  + envchange(4, b_varchar(str(self.packet_size)),
                              b_varchar(str(DEFAULT_PACKET_SIZE)))
                  + loginack(self.tds_version)
                  + done_token(DONE_FINAL))
        self.session = Session(
            database, ODBC_OPTIONS if login["flags2"] & LOGIN_ODBC else 0, self.options.databases,
            lambda op, **fields: self.journal.write("tran", self.number, op=op, **fields))
        self.journal.write("login", self.number, user=user, database=database, ok=True)
        return True

    def refuse(self, user, database, number, cls, text):
        self.journal.write("login", self.number, user=user, database=database,
                           ok=False, error=number)
        self.send(error_token(number, cls, 1, text) + done_token(DONE_ERROR))
        return False

    def batch(self, payload):
        text = batch_text(payload, self.tds_version)
        self.journal.write("batch", self.number, text=text, database=self.session.database)
        try:
            answer = run_batch(text, self.options, self.wait, self.session)
        except Cancelled:
            if self.gone:
                return False
            answer = done_token(DONE_ATTN)
        if answer is None:  # SHUTDOWN: die without a word
            return False
        self.send(answer)
        return True

    def wait(self, seconds):
        """Sleeps, watching the client: an attention or its leaving raises Cancelled."""
        deadline = time.monotonic() + seconds
        while self.received or select.select([self.sock], [], [],
                                             max(0, deadline - time.monotonic()))[0]:
            message = self.read_message()
            if message is None or message[0] == PKT_ATTENTION:
                raise Cancelled()
            self.held.append(message)



def write_port_file(path, port):
    temp = f"{path}.{os.getpid()}.tmp"
    with open(temp, "w") as f:
        f.write(f"{port}\n")
    os.replace(temp, path)  # atomic, so a poller never sees a partial number


def parse_args(argv):
    p = argparse.ArgumentParser(description="Scripted TDS server for Velmar's tests.")
    p.add_argument("--port-file", required=True, help="receives the port once listening")
    p.add_argument("--journal", required=True, help="JSON Lines event log (appended)")
    p.add_argument("--port", type=int, default=0, help="0 picks a free port")
    p.add_argument("--user", default="sa")
    p.add_argument("--password", default="secret")
    p.add_argument("--databases", default="master,tempdb,Sales,Demo",
                   help="comma-separated names a login may open")
    p.add_argument("--fail-quoted-identifier", action="store_true",
                   help="refuse the batch 'set quoted_identifier off' with error 102")
    args = p.parse_args(argv)
    args.databases = [d.strip() for d in args.databases.split(",") if d.strip()]
    return args


def stop(signum, frame):
    sys.exit(0)


def main(argv=None):
    options = parse_args(argv)
    journal = Journal(options.journal)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", options.port))
    listener.listen(16)
    write_port_file(options.port_file, listener.getsockname()[1])
    number = 0
    try:
        while True:
            sock, _ = listener.accept()
            sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            number += 1
            conn = Connection(sock, number, options, journal)
            threading.Thread(target=conn.serve, daemon=True).start()
    finally:
        listener.close()


if __name__ == "__main__":
    main()
