"""Mail to the store through the real Linux program (loopback build) and a real SMTP server on
127.0.0.1: the contact window is clicked and typed into at its design positions."""
import time

import pytest

from conftest import wait_for
from smtp_server import PASSWORD, USER, SilentServer, SmtpServer, port_is_free
from summary_texts import check_summary_shapes, summary_block, summary_of

INBOX = "service@brantwell.example"
CLIENT = "ann.lee@example.test"
SENT = "msgbox TAVDashboard: Email sent to Brantwell.  A technician will respond as soon as possible."


@pytest.fixture
def server_port():
    assert port_is_free(), "another program already listens on the test mail port 38025"
    yield
    assert wait_for(port_is_free, 5), "the test mail server did not let go of its port"


def centre(x, y, w, h):
    return x + w / 2, y + h / 2


def send_contact_request(program, description):
    """Starts the program, opens Contact Us, fills in the form and presses Send; returns the process."""
    proc = program.start()
    dashboard = program.wait_for_dashboard()
    assert dashboard, "the dashboard did not appear"
    program.click(dashboard[0], *centre(270, 1080, 3045, 705))  # Contact Us
    contact = wait_for(lambda: program.display.visible("--name", "^Contact Us$"), 10)
    assert contact, "the contact window did not open"
    for (x, y, w, h), text in [((4605, 1050, 3015, 330), "Ann Lee"), ((4605, 1560, 3015, 330), "555 0100"),
                               ((4605, 2040, 3015, 330), CLIENT)]:
        program.click(contact[0], *centre(x, y, w, h))
        program.display.xdotool("type", "--delay", "10", text)
    # One line: a Return typed into the box now and then gets lost on the virtual display, so the
    # line ends of a typed description are left to the unit tests of the message.
    program.click(contact[0], *centre(3960, 2940, 5715, 1935))
    program.display.xdotool("type", "--delay", "10", description)
    time.sleep(0.3)
    program.click(contact[0], *centre(6270, 5040, 1185, 405))  # Send
    return proc


def message_boxes(program, proc):
    return program.traced(proc, "msgbox ")


def wait_for_message_box(program, proc, timeout=20):
    return wait_for(lambda: message_boxes(program, proc), timeout)


def test_a_contact_request_reaches_the_server_byte_for_byte(loopback_program, server_port):
    server = SmtpServer().start()
    try:
        proc = send_contact_request(loopback_program, ".period first, then  two blanks")
        received = server.wait_for_message()
        assert received, "the server received no message"
        assert wait_for_message_box(loopback_program, proc) == [SENT]
        loopback_program.answer_message_box()
        assert wait_for(lambda: "unload frmEmail" in loopback_program.traced(proc, "unload "), 5)
    finally:
        server.stop()

    assert received.mail_from == CLIENT
    assert received.rcpt_tos == [INBOX]
    assert received.login == USER
    headers, body = received.headers_and_body()
    assert headers["Subject"] == "Tech request from TAV Dashboard"
    assert headers["From"] == CLIENT
    assert headers["Sender"] == f'"TAV Dashboard" <{USER}>'
    assert headers["To"] == INBOX
    assert headers["X-MSMail-Priority"] == "High "  # the trailing blank is kept
    assert headers["Importance"] == "high"
    assert headers["Content-Type"] == "text/plain; charset=UTF-8"
    assert headers["Date"] and headers["Message-ID"].startswith("<")
    assert b"\n" not in body.replace(b"\r\n", b"")
    text = body.decode()
    lines = text.split("\r\n")
    assert lines[-6].startswith("AVG CPU Usage") and lines[-4].startswith("Uptime = ")
    # A line that starts with "." comes through as typed: the dot-stuffing on the wire is undone.
    # The hardware summary is the one the dashboard shows.
    summary = summary_of(loopback_program.log(proc))
    check_summary_shapes(summary)
    assert text == ("Ann Lee\r\n555 0100\r\n\r\n.period first, then  two blanks\r\n\r\n" + summary_block(summary) +
                    lines[-6] + "\r\n\r\n" + lines[-4] + "\r\n\r\nPLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE\r\n")
    assert proc.poll() is None


@pytest.mark.parametrize("behaviour, expected", [
    (dict(refuse_sender=True), "msgbox TAVDashboard: Please enter a valid email address."),
    (dict(refuse_login=True), "msgbox TAVDashboard: Your message was not sent: the store's mail server did not "
                              "accept the program's login."),
    (None, "msgbox TAVDashboard: Your message was not sent: the store's mail server could not be reached."),
    ("silent", "msgbox TAVDashboard: Your message was not sent: the store's mail server did not answer in time."),
], ids=["sender-refused", "login-refused", "server-down", "server-silent"])
def test_a_failed_request_says_so_and_keeps_what_was_typed(loopback_program, server_port, behaviour, expected):
    server = None
    if behaviour == "silent":
        server = SilentServer().start()
    elif behaviour is not None:
        server = SmtpServer(**behaviour).start()
    try:
        started = time.monotonic()
        proc = send_contact_request(loopback_program, "It beeps.")
        boxes = wait_for_message_box(loopback_program, proc, timeout=30)
        elapsed = time.monotonic() - started
    finally:
        if server:
            server.stop()
    assert boxes and boxes[0].startswith(expected), boxes
    assert SENT not in boxes
    assert elapsed < 25, "sending must give up within its time-out"
    loopback_program.answer_message_box()
    time.sleep(0.5)
    assert "unload frmEmail" not in loopback_program.traced(proc, "unload ")
    assert loopback_program.traced(proc, "caption frmEmail: ")[-1] == "caption frmEmail: Contact Us"
    assert loopback_program.display.visible("--name", "^Contact Us$"), "the contact window must stay open"
    if server and hasattr(server, "messages"):
        assert server.messages == []
    assert proc.poll() is None


def test_starttls_with_a_certificate_the_test_ca_signs(loopback_program, server_port):
    # The server refuses everything before STARTTLS: a message proves the dialogue was encrypted.
    server = SmtpServer(starttls=True).start()
    try:
        proc = send_contact_request(loopback_program, "Over TLS.")
        received = server.wait_for_message()
        assert wait_for_message_box(loopback_program, proc) == [SENT]
    finally:
        server.stop()
    assert received and received.mail_from == CLIENT
    assert received.headers_and_body()[1].decode().split("\r\n")[3] == "Over TLS."
