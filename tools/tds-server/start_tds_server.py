#!/usr/bin/env python3
"""Starts the TDS test server and tells when it is ready: the one way to start it.

    start_tds_server.py --journal FILE [other options of tds_test_server.py]

Runs the server with the options given, on a free port, and waits until the server has
written its port and answered a PRELOGIN there. Then prints the port on a line of its own
and stays until SIGTERM or SIGINT, which end the server too. A server that is not ready
within 20 s is stopped and the launcher exits 1 with nothing on standard output: the
server's own output, on the shared standard error, then says why. Callers read one line:
a port, or nothing.
"""
import os
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tds_test_server.py")
TIME_LIMIT = 20
PKT_REPLY, PKT_PRELOGIN = 4, 18


def answers_prelogin(port):
    """Whether the server answers a PRELOGIN on the port with a reply packet."""
    body = b"\xff"  # no options: the server answers with its own
    packet = struct.pack(">BBHHBB", PKT_PRELOGIN, 1, 8 + len(body), 0, 1, 0) + body
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=TIME_LIMIT) as sock:
            sock.sendall(packet)
            return sock.recv(1)[:1] == bytes([PKT_REPLY])
    except OSError:
        return False


def start(options, folder):
    """Starts the server; answers its port once it answers there, None when it does not."""
    global server
    port_file = os.path.join(folder, "port")
    server = subprocess.Popen([sys.executable, SERVER, "--port-file", port_file, *options],
                              stdout=sys.stderr)
    deadline = time.monotonic() + TIME_LIMIT
    while server.poll() is None and time.monotonic() < deadline:
        if os.path.exists(port_file):
            with open(port_file) as f:
                port = int(f.read())
            return port if answers_prelogin(port) else None
        time.sleep(0.01)
    return None


def stop(*_):
    if server and server.poll() is None:
        server.terminate()


def main():
    # Set first: a caller may stop the launcher while the server is starting.
    for signum in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, stop)
    with tempfile.TemporaryDirectory() as folder:
        port = start(sys.argv[1:], folder)
    if port is None:
        stop()
        sys.exit(f"{os.path.basename(__file__)}: the TDS test server did not start "
                 f"(exit status {server.wait()})")
    print(port, flush=True)
    server.wait()


server = None

if __name__ == "__main__":
    main()
