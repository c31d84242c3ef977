"""A real HTTP server on 127.0.0.1 for the self-update tests, with a script of answers by path
and a log of the requests it saw, in order. Written on plain sockets so that it can also
answer the ways a broken or hostile server does: a wrong Content-Length, a body cut short, a
body that never ends, or no answer at all."""
import socket
import threading
import time

# The port the loopback builds ask (tests/CMakeLists.txt, tav_loopback_store).
PORT = 38080


def ok(body):
    return ("ok", body)


class UpdateServer:
    """routes: path -> answer, where an answer is
        ("ok", body)                    200 with its Content-Length
        ("status", code, body)          that status, with its Content-Length
        ("length", header, body)        200 with this Content-Length text (None: no header), then the
                                        body, then the connection closes
        ("slow", body, seconds)         200 with its Content-Length, the body spread over that time
        ("silent",)                     accepts and never answers
        ("endless",)                    200 without a length, then bytes until the client gives up
    or a function of the server that returns one. A path without a route gets a 404 page."""

    def __init__(self, routes=None, port=PORT):
        self.routes = dict(routes or {})
        self.requests = []
        self.port = port
        self._sock = None
        self._stop = threading.Event()
        self._threads = []

    def start(self):
        self._sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._sock.bind(("127.0.0.1", self.port))
        self._sock.listen(16)
        self._sock.settimeout(0.2)
        t = threading.Thread(target=self._serve, daemon=True)
        t.start()
        self._threads.append(t)
        return self

    def stop(self):
        self._stop.set()
        for t in self._threads:
            t.join(5)
        if self._sock:
            self._sock.close()

    def paths(self):
        return [r.rsplit("/", 1)[-1] for r in self.requests]

    def _serve(self):
        while not self._stop.is_set():
            try:
                conn, _ = self._sock.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            t = threading.Thread(target=self._answer, args=(conn,), daemon=True)
            t.start()

    def _answer(self, conn):
        with conn:
            conn.settimeout(5)
            data = b""
            try:
                while b"\r\n\r\n" not in data:
                    chunk = conn.recv(4096)
                    if not chunk:
                        return
                    data += chunk
            except OSError:
                return
            line = data.split(b"\r\n", 1)[0].decode(errors="replace")
            parts = line.split(" ")
            path = parts[1] if len(parts) > 1 else "/"
            self.requests.append(path)
            answer = self.routes.get(path, ("status", 404, b"<html><body>404 Not Found</body></html>"))
            if callable(answer):  # an answer that depends on what was asked before
                answer = answer(self)
            kind = answer[0]
            try:
                if kind == "silent":
                    while not self._stop.is_set():
                        time.sleep(0.1)
                elif kind == "slow":
                    body = answer[1]
                    conn.sendall(f"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: {len(body)}\r\n\r\n".encode())
                    steps = max(1, int(answer[2] * 10))
                    for i in range(steps):
                        if self._stop.is_set():
                            break
                        conn.sendall(body[i * len(body) // steps:(i + 1) * len(body) // steps])
                        time.sleep(0.1)
                elif kind == "endless":
                    conn.sendall(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")
                    block = b"\x7fELF" + b"x" * 65532
                    while not self._stop.is_set():
                        conn.sendall(block)
                else:
                    if kind == "ok":
                        code, header, body = 200, str(len(answer[1])), answer[1]
                    elif kind == "status":
                        code, header, body = answer[1], str(len(answer[2])), answer[2]
                    else:
                        code, header, body = 200, answer[1], answer[2]
                    if isinstance(body, str):
                        body = body.encode()
                    head = f"HTTP/1.1 {code} {'OK' if code == 200 else 'Error'}\r\nConnection: close\r\n"
                    if header is not None:
                        head += f"Content-Length: {header}\r\n"
                    conn.sendall(head.encode() + b"\r\n" + body)
            except OSError:
                pass
