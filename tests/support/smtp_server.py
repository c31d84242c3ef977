"""A real SMTP server on 127.0.0.1 for the mail tests (aiosmtpd, from Debian's python3-aiosmtpd),
with the behaviours the tests need: accept, refuse the sender, refuse the login, offer STARTTLS,
or accept connections and never answer."""
import logging
import os
import socket
import ssl
import threading
import time
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

# The port the loopback builds send mail to (tests/CMakeLists.txt, tav_loopback_store).
PORT = 38025
TLS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tls")
USER = "dashboard@brantwell.example"
# AUTH without TLS is what the plain-text tests need; the library warns about it each time.
warnings.filterwarnings("ignore", message="Requiring AUTH while not requiring TLS")
logging.getLogger("mail.log").setLevel(logging.ERROR)
PASSWORD = "6.280417395!"


class Received:
    def __init__(self, mail_from, rcpt_tos, data, login):
        self.mail_from = mail_from
        self.rcpt_tos = rcpt_tos
        self.data = data  # the message's bytes as received, dot-stuffing undone
        self.login = login

    def headers_and_body(self):
        head, _, body = self.data.partition(b"\r\n\r\n")
        headers = {}
        for line in head.split(b"\r\n"):
            name, _, value = line.partition(b":")
            headers[name.decode()] = value[1:].decode() if value.startswith(b" ") else value.decode()
        return headers, body


class _Handler:
    def __init__(self, server):
        self.server = server

    async def handle_MAIL(self, smtp, session, envelope, address, mail_options):
        if self.server.refuse_sender:
            return "553 5.1.8 Sender address rejected"
        envelope.mail_from = address
        return "250 OK"

    async def handle_DATA(self, smtp, session, envelope):
        login = session.auth_data.decode() if isinstance(session.auth_data, bytes) else session.auth_data
        self.server.messages.append(Received(envelope.mail_from, list(envelope.rcpt_tos),
                                             envelope.original_content, login))
        return "250 Message accepted"


class SmtpServer:
    """Started with start(), ended with stop(); messages holds what was accepted."""

    def __init__(self, refuse_sender=False, refuse_login=False, starttls=False, port=PORT):
        self.refuse_sender = refuse_sender
        self.refuse_login = refuse_login
        self.messages = []
        self.port = port
        kwargs = dict(authenticator=self._authenticate, auth_require_tls=False, auth_required=True)
        if starttls:
            context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
            context.load_cert_chain(os.path.join(TLS_DIR, "server.pem"), os.path.join(TLS_DIR, "server.key"))
            kwargs["tls_context"] = context
            kwargs["require_starttls"] = True
        self.controller = Controller(_Handler(self), hostname="127.0.0.1", port=port, **kwargs)

    def _authenticate(self, server, session, envelope, mechanism, auth_data):
        ok = (not self.refuse_login and auth_data.login.decode() == USER
              and auth_data.password.decode() == PASSWORD)
        # handled=False: the server answers the refusal itself (535); with True the client waits.
        return AuthResult(success=ok, handled=False, auth_data=auth_data.login if ok else None)

    def start(self):
        self.controller.start()
        return self

    def stop(self):
        self.controller.stop()

    def wait_for_message(self, timeout=20):
        deadline = time.monotonic() + timeout
        while not self.messages and time.monotonic() < deadline:
            time.sleep(0.1)
        return self.messages[0] if self.messages else None


class SilentServer:
    """Accepts connections on the mail port and never says a word."""

    def __init__(self, port=PORT):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind(("127.0.0.1", port))
        self.sock.listen(8)
        self.connections = []
        self.thread = threading.Thread(target=self._accept, daemon=True)

    def _accept(self):
        while True:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                return
            self.connections.append(conn)

    def start(self):
        self.thread.start()
        return self

    def stop(self):
        # shutdown wakes the accepting thread; close alone would leave it holding the port.
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self.sock.close()
        self.thread.join(5)
        for c in self.connections:
            c.close()


def port_is_free(port=PORT):
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False
