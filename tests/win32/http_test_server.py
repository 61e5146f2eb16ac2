#!/usr/bin/env python3
"""Runs a command while a small HTTP server answers on 127.0.0.1.

    http_test_server.py COMMAND [ARGS...]

The command sees PRAVELO_TEST_HTTP (http://127.0.0.1:PORT), PRAVELO_TEST_CLOSED_PORT (a
port nothing listens on) and PRAVELO_TEST_UPDATE_KEY (the public half of the test signing key,
which signs the served /version.txt). The server lives in this process and ends with it; the command is
ended by its PID if it outlives its time. The exit code is the command's.
"""
import http.server
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

COMMAND_SECONDS = 100
SLOW_SECONDS = 3
BIG_BODY = bytes((i * 31 + 7) % 251 for i in range(300 * 1024))
NEW_PROGRAM = b"MZ\x90\x00" + b"new program " * 100
ROOT = Path(__file__).resolve().parents[2]
SIGN = ROOT / "scripts" / "sign-update.sh"
TEST_KEY = ROOT / "tests" / "keys" / "update-test.pem"
TRICKLE_BYTES = 50  # one every 0.2 s: longer than any wait of the tests
HUGE_LENGTH = 200 * 1000 * 1000
SIGNED = {}  # path -> body, filled at start


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body, length=None):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def do_GET(self):
        base = "http://127.0.0.1:%d" % self.server.server_address[1]
        if self.path == "/hello.txt":
            self.answer(200, b"hello from the test server\r\n")
        elif self.path == "/big.bin":
            self.answer(200, BIG_BODY)
        elif self.path == "/slow":
            time.sleep(SLOW_SECONDS)
            self.answer(200, b"late")
        elif self.path == "/stall":
            self.answer(200, b"first half ", length=22)
            self.wfile.flush()
            time.sleep(SLOW_SECONDS)
            self.wfile.write(b"second half")
        elif self.path == "/short":
            self.answer(200, b"0123456789", length=100)  # then the connection closes
        elif self.path == "/unannounced":
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(BIG_BODY)
            self.close_connection = True
        elif self.path == "/trickle":
            self.answer(200, b"", length=TRICKLE_BYTES)
            self.drip(TRICKLE_BYTES)
        elif self.path == "/huge":
            self.answer(200, b"x", length=HUGE_LENGTH)
            self.drip(TRICKLE_BYTES)
        elif self.path == "/loop":
            self.send_response(302)
            self.send_header("Location", base + "/loop")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif self.path in SIGNED:
            self.answer(200, SIGNED[self.path])
        elif self.path == "/new.exe":
            self.answer(200, NEW_PROGRAM)
        else:
            self.answer(404, b"<html><body>404 Not Found</body></html>")


    def drip(self, count):
        try:
            # A byte at once, so that a read finds data waiting and must still not block.
            for _ in range(count):
                self.wfile.write(b"x")
                self.wfile.flush()
                time.sleep(0.2)
        except OSError:
            pass  # the client gave up, as it should


def sign(base):
    """Signs a version file for 1.4.3 naming /new.exe with the test key."""
    with tempfile.TemporaryDirectory() as work:
        program = Path(work) / "new.exe"
        program.write_bytes(NEW_PROGRAM)
        subprocess.run([str(SIGN), str(TEST_KEY), "1.4.3", base + "/new.exe", str(program), work],
                       check=True, stdout=subprocess.DEVNULL)
        for name in ("version.txt", "version.txt.sig"):
            SIGNED["/" + name] = (Path(work) / name).read_bytes()
    key = subprocess.run([str(SIGN), "--public-key", str(TEST_KEY)], check=True, capture_output=True, text=True)
    return key.stdout.strip()


def closed_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    env = dict(os.environ)
    env["PRAVELO_TEST_HTTP"] = "http://127.0.0.1:%d" % server.server_address[1]
    env["PRAVELO_TEST_CLOSED_PORT"] = str(closed_port())
    env["PRAVELO_TEST_UPDATE_KEY"] = sign(env["PRAVELO_TEST_HTTP"])
    child = subprocess.Popen(sys.argv[1:], env=env, stdin=subprocess.DEVNULL)
    try:
        return child.wait(timeout=COMMAND_SECONDS)
    except subprocess.TimeoutExpired:
        print("command ran out of time; ending PID %d" % child.pid, file=sys.stderr)
        child.kill()
        child.wait()
        return 1
    finally:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
