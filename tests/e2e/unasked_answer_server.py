"""A content server that, after every verdict picture it sends, sends one more whole answer
nobody asked for, as a write of its own, 0 to 20 ms later. It serves the pack's folder on
127.0.0.1:PORT with kept-alive HTTP/1.1 and writes what happens to EVENTS, a line each:
"open ID SECONDS", "close ID SECONDS", "get ID SECONDS NAME".

    unasked_answer_server.py PORT FOLDER_PATH PACK EVENTS DELAYS_MS...

The delay after the n-th verdict picture is DELAYS_MS[n mod len].
"""
import itertools
import os
import socket
import sys
import threading
import time

port, folder, pack, events_path = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
delays = itertools.cycle(float(ms) / 1000 for ms in sys.argv[5:])
verdicts = {"ok.jpg", "no.jpg"}
# Each answer goes out this long after its request has come, as from a server that reads its
# files from a disk: longer than the game takes to send its next request.
LATENCY = 0.003
lock = threading.Lock()
events = open(events_path, "a", buffering=1)
serials = itertools.count(1)


def note(*fields):
    with lock:
        events.write(" ".join(str(f) for f in fields) + "\n")


def answer(status, body, content_type):
    reason = {200: "OK", 404: "Not Found"}[status]
    head = (f"HTTP/1.1 {status} {reason}\r\nContent-Type: {content_type}\r\n"
            f"Content-Length: {len(body)}\r\n\r\n")
    return head.encode() + body


def file_answer(name):
    path = os.path.join(pack, name)
    if "/" in name or not os.path.isfile(path):
        return answer(404, b"<html>Not found</html>", "text/html")
    with open(path, "rb") as f:
        body = f.read()
    kind = "text/plain" if name.endswith(".txt") else "image/jpeg"
    return answer(200, body, kind)


def serve(connection):
    serial = next(serials)
    note("open", serial, time.monotonic())
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    buffer = b""
    try:
        while True:
            while b"\r\n\r\n" not in buffer:
                data = connection.recv(65536)
                if not data:
                    return
                buffer += data
            head, buffer = buffer.split(b"\r\n\r\n", 1)
            target = head.split(b"\r\n")[0].split(b" ")[1].decode("latin-1")
            prefix = "/" + folder + "/"
            name = target[len(prefix):] if target.startswith(prefix) else target
            note("get", serial, time.monotonic(), name)
            time.sleep(LATENCY)
            connection.sendall(file_answer(name))
            if name in verdicts:
                time.sleep(next(delays))
                connection.sendall(file_answer("reading.jpg"))
    except OSError:
        pass
    finally:
        note("close", serial, time.monotonic())
        connection.close()


listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", port))
listener.listen(16)
while True:
    accepted, _ = listener.accept()
    threading.Thread(target=serve, args=(accepted,), daemon=True).start()
