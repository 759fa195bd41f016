#!/usr/bin/env python3
"""A small IRC client that joins a channel and records what others do there.

Usage: irc_observer.py PORT CHANNEL LOG

Every JOIN, PRIVMSG and NICK it receives goes to LOG as the raw bytes the server
sent, without the CR LF, one line each, flushed at once. It answers PING and
runs until killed.
"""
import socket
import sys

port, channel, log_path = int(sys.argv[1]), sys.argv[2].encode(), sys.argv[3]
sock = socket.create_connection(("127.0.0.1", port))
sock.sendall(b"NICK observer\r\nUSER observer 0 * :observer\r\n")
recorded = {b"JOIN", b"PRIVMSG", b"NICK"}
buffer = b""
with open(log_path, "ab", buffering=0) as log:
    while True:
        data = sock.recv(4096)
        if not data:
            break
        buffer += data
        while b"\r\n" in buffer:
            line, buffer = buffer.split(b"\r\n", 1)
            words = line.split(b" ")
            if words[0] == b"PING":
                sock.sendall(b"PONG " + b" ".join(words[1:]) + b"\r\n")
            elif len(words) > 1 and words[1] == b"001":
                sock.sendall(b"JOIN " + channel + b"\r\n")
            elif len(words) > 1 and words[1] in recorded:
                log.write(line + b"\n")
