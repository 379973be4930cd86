"""A server that takes connections on 127.0.0.1:PORT and never says a word.

    silent_listener.py PORT
"""
import socket
import sys

listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", int(sys.argv[1])))
listener.listen(16)
held = []
while True:
    held.append(listener.accept()[0])
