"""What the tests of the installed packages share: where the game's files lie once installed,
the requests the game sends, and what the content server's access log says it was asked.

The tests read the installed system only: the pack in /usr/share, the desktop entry, the
programs in /usr/games and /usr/bin, and the server that the content package started."""

import os
import re
import socket
import subprocess
import sys
import time

# The game's fixed content server and folder (qovex-dravel(6)), and its fixed files.
HOST = "localhost"
FOLDER = "/uploads/all/dravel/1/"
PACK = "/usr/share/qovex-dravel-content" + FOLDER
SCHEME = "shemoftask.txt"
READING = "reading.jpg"
RIGHT = "ok.jpg"
WRONG = "no.jpg"
ACCEPT = "text/html, */*"
USER_AGENT = "Mozilla/3.0 (compatible; Indy Library)"

NGINX_SITE_LINK = "/etc/nginx/sites-enabled/qovex-dravel-content"
NGINX_ACCESS_LOG = "/var/log/nginx/access.log"
OWN_SERVER_TAG = "qovex-dravel-content"


class Checks:
    """Named checks, each printed as it passes or fails; the test fails if any failed."""

    def __init__(self):
        self.failed = []

    def check(self, what, passed, detail=""):
        print(("ok: " if passed else "FAILED: ") + what + (f" ({detail})" if detail else ""))
        if not passed:
            self.failed.append(what)
        return passed

    def fail(self, what):
        """A failure after which the test cannot go on."""
        self.check(what, False)
        self.finish()

    def finish(self):
        sys.stdout.flush()
        if self.failed:
            print(f"{len(self.failed)} check(s) failed")
            sys.exit(1)


def scheme_names():
    """The 49 names of the installed scheme, row by row, as the game reads them."""
    with open(PACK + SCHEME, "rb") as scheme:
        text = scheme.read().decode("latin-1")
    return [line for line in text.split("\r\n") if line]


def cell(names, row, column):
    """The name in row and column, both counted from 1."""
    return names[7 * (row - 1) + column - 1]


def diagonal(names):
    return [cell(names, k, k) for k in range(1, 8)]


def expected_lifetime(name):
    """The Cache-Control that the site sets for a file of the game's folder."""
    if re.fullmatch(r"[^/]+\.[0-9a-f]{16}\.jpg", name):
        return "max-age=31536000, immutable"
    if re.fullmatch(r"(?i)[^/]+\.jpe?g", name):
        return "max-age=86400"
    return "max-age=60"


class Answer:
    def __init__(self, status, headers, body):
        self.status = status
        self.headers = headers
        self.body = body


class Connection:
    """One kept-alive connection to port 80, as the game holds one for all of its requests;
    every request is the game's, byte for byte."""

    def __init__(self, address):
        family = socket.AF_INET6 if ":" in address else socket.AF_INET
        self.socket = socket.create_connection((address, 80), timeout=10)
        assert self.socket.family == family
        self.buffer = b""

    def close(self):
        self.socket.close()

    @staticmethod
    def request(name):
        return (f"GET {FOLDER}{name} HTTP/1.1\r\nHost: {HOST}\r\nAccept: {ACCEPT}\r\n"
                f"User-Agent: {USER_AGENT}\r\n\r\n").encode("latin-1")

    def _more(self):
        data = self.socket.recv(65536)
        if not data:
            raise ConnectionError("the server closed the connection")
        self.buffer += data

    def _take(self, count):
        while len(self.buffer) < count:
            self._more()
        taken, self.buffer = self.buffer[:count], self.buffer[count:]
        return taken

    def _line(self):
        while b"\r\n" not in self.buffer:
            self._more()
        line, self.buffer = self.buffer.split(b"\r\n", 1)
        return line.decode("latin-1")

    def get(self, name):
        self.socket.sendall(self.request(name))
        status = int(self._line().split(" ", 2)[1])
        headers = {}
        while line := self._line():
            key, _, value = line.partition(":")
            headers[key.strip().lower()] = value.strip()
        if headers.get("transfer-encoding", "").lower() == "chunked":
            body = b""
            while size := int(self._line().split(";")[0], 16):
                body += self._take(size)
                self._take(2)
            while self._line():
                pass
        else:
            body = self._take(int(headers.get("content-length", "0")))
        return Answer(status, headers, body)


def served_by_nginx():
    return os.path.exists("/usr/sbin/nginx") and os.path.islink(NGINX_SITE_LINK)


# One line of the combined log format, which both servers write.
LOG_LINE = re.compile(r'"GET (\S+) HTTP/1\.1" (\d{3}) \S+ "[^"]*" "([^"]*)"')


class AccessLog:
    """The requests the content server logs from now on, as (file name, status, user agent):
    nginx's access log where nginx serves the game, the journal of the game's own server
    elsewhere."""

    def __init__(self):
        self.nginx = served_by_nginx()
        if self.nginx:
            self.start = os.path.getsize(NGINX_ACCESS_LOG)
        else:
            shown = subprocess.run(
                ["journalctl", "-q", "-t", OWN_SERVER_TAG, "-n", "0", "--show-cursor"],
                capture_output=True, text=True, check=True).stdout
            self.cursor = shown.strip().removeprefix("-- cursor: ")

    def _lines(self):
        if self.nginx:
            with open(NGINX_ACCESS_LOG, "rb") as log:
                log.seek(self.start)
                return log.read().decode("latin-1").splitlines()
        command = ["journalctl", "-q", "-t", OWN_SERVER_TAG, "-o", "cat"]
        if self.cursor:
            command.append("--after-cursor=" + self.cursor)
        return subprocess.run(command, capture_output=True, text=True, check=True).stdout.splitlines()

    def requests(self):
        made = []
        for line in self._lines():
            match = LOG_LINE.search(line)
            if match:
                path, status, agent = match.groups()
                name = path[len(FOLDER):] if path.startswith(FOLDER) else path
                made.append((name, int(status), agent))
        return made

    def wait_for(self, count, seconds, still_running=lambda: True):
        """The requests once there are at least count, or all there are after the time given;
        a moment more lets any surplus in."""
        deadline = time.monotonic() + seconds
        while len(self.requests()) < count and time.monotonic() < deadline and still_running():
            time.sleep(0.1)
        time.sleep(0.5)
        return self.requests()
