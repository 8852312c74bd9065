#!/usr/bin/env python3
"""A TCP proxy on 127.0.0.1 in front of the test server's Unix socket that
loses the answer to one commit.

    commit-cut-proxy.py SOCKET MARKER CUT_FILE

It prints the port it listens on, then forwards every connection to SOCKET.
Once a client has sent bytes holding MARKER (UTF-8), the server's next
CommandComplete "COMMIT" on that connection is not passed on: both sides are
closed instead, and CUT_FILE is written. The server has committed by then;
only the program does not know it. This happens once; later connections are
forwarded untouched.

The client must not ask for TLS or GSS encryption (sslmode=disable,
gssencmode=disable), so that every message from the server is a plain typed
message: one type byte and a four-byte length that counts itself.
"""
import socket
import struct
import sys
import threading

socket_path, marker, cut_file = sys.argv[1], sys.argv[2].encode(), sys.argv[3]
cut_done = threading.Event()
cut_lock = threading.Lock()


def close_both(a, b):
    for s in (a, b):
        try:
            s.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        s.close()


def serve(client):
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.connect(socket_path)
    armed = threading.Event()

    def client_to_server():
        seen = b""
        try:
            while True:
                data = client.recv(65536)
                if not data:
                    break
                # The marker may straddle two reads: keep the tail of the last.
                seen = seen[-len(marker):] + data
                if not cut_done.is_set() and marker in seen:
                    armed.set()
                server.sendall(data)
        except OSError:
            pass
        close_both(client, server)

    def server_to_client():
        pending = b""
        try:
            while True:
                data = server.recv(65536)
                if not data:
                    break
                pending += data
                out = b""
                while len(pending) >= 5:
                    length = struct.unpack("!I", pending[1:5])[0]
                    if len(pending) < 1 + length:
                        break
                    message, pending = pending[:1 + length], pending[1 + length:]
                    if armed.is_set() and message[:1] == b"C" and message[5:] == b"COMMIT\0":
                        with cut_lock:
                            if not cut_done.is_set():
                                cut_done.set()
                                # What came before the commit's answer is passed on.
                                if out:
                                    client.sendall(out)
                                with open(cut_file, "w") as f:
                                    f.write("cut\n")
                                close_both(client, server)
                                return
                    out += message
                if out:
                    client.sendall(out)
        except OSError:
            pass
        close_both(client, server)

    threading.Thread(target=client_to_server, daemon=True).start()
    threading.Thread(target=server_to_client, daemon=True).start()


listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.bind(("127.0.0.1", 0))
listener.listen(64)
print(listener.getsockname()[1], flush=True)
while True:
    connection, _ = listener.accept()
    serve(connection)
