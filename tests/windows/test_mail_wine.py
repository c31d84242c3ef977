"""Mail to the store from TAVDashboard.exe (loopback build) under Wine, through libcurl with
Schannel, to a real SMTP server on 127.0.0.1: the contact window is clicked and typed into."""
import subprocess
import time

import pytest

from conftest import wait_for
from smtp_server import USER, SilentServer, SmtpServer, port_is_free
from summary_texts import check_summary_shapes, summary_block, summary_of

CLIENT = "ann.lee@example.test"
SENT = "msgbox TAVDashboard: Email sent to Brantwell.  A technician will respond as soon as possible."


@pytest.fixture
def server_port():
    assert port_is_free(), "another program already listens on the test mail port 38025"
    yield
    assert wait_for(port_is_free, 5), "the test mail server did not let go of its port"


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True, timeout=30)


def send_contact_request(program, description):
    program.start()
    assert program.wait_dashboard(), "the dashboard did not show"
    program.click(program.dashboard()[1]["title"], 270, 1080, 3045, 705)  # Contact Us
    assert wait_for(lambda: program.traced("show frmEmail"), 10), "the contact window did not open"
    time.sleep(0.5)
    for box, text in [((4605, 1050, 3015, 330), "Ann Lee"), ((4605, 1560, 3015, 330), "555 0100"),
                      ((4605, 2040, 3015, 330), CLIENT)]:
        program.click("Contact Us", *box)
        type_text(text)
    # One line: a Return typed on the virtual display now and then gets lost, so the line ends of
    # a typed description are left to the unit tests of the message.
    program.click("Contact Us", 3960, 2940, 5715, 1935)
    type_text(description)
    time.sleep(0.3)
    program.click("Contact Us", 6270, 5040, 1185, 405)  # Send


def test_a_contact_request_reaches_the_server_byte_for_byte(loopback_program, server_port):
    server = SmtpServer().start()
    try:
        send_contact_request(loopback_program, ".period first, then  two blanks")
        received = server.wait_for_message()
        assert received, "the server received no message"
        assert wait_for(lambda: loopback_program.traced("msgbox "), 15) == [SENT]
        loopback_program.answer_message_box("OK")
        assert wait_for(lambda: loopback_program.traced("unload frmEmail"), 5)
    finally:
        server.stop()
    assert received.mail_from == CLIENT
    assert received.login == USER
    headers, body = received.headers_and_body()
    assert headers["Subject"] == "Tech request from TAV Dashboard"
    assert headers["X-MSMail-Priority"] == "High "
    assert headers["Sender"] == f'"TAV Dashboard" <{USER}>'
    text = body.decode()
    lines = text.split("\r\n")
    # The hardware summary is the one the dashboard shows.
    summary = summary_of(loopback_program.log())
    check_summary_shapes(summary)
    assert text.startswith("Ann Lee\r\n555 0100\r\n\r\n.period first, then  two blanks\r\n\r\n" + summary_block(summary))
    assert lines[-2:] == ["PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE", ""]
    assert b"\n" not in body.replace(b"\r\n", b"")


@pytest.mark.parametrize("behaviour, expected", [
    (dict(refuse_sender=True), "msgbox TAVDashboard: Please enter a valid email address."),
    (dict(refuse_login=True), "msgbox TAVDashboard: Your message was not sent: the store's mail server did not "
                              "accept the program's login."),
    (None, "msgbox TAVDashboard: Your message was not sent: the store's mail server could not be reached."),
    ("silent", "msgbox TAVDashboard: Your message was not sent: the store's mail server did not answer in time."),
], ids=["sender-refused", "login-refused", "server-down", "server-silent"])
def test_a_failed_request_says_so_and_keeps_the_window(loopback_program, server_port, behaviour, expected):
    server = SilentServer().start() if behaviour == "silent" else SmtpServer(**behaviour).start() if behaviour else None
    try:
        send_contact_request(loopback_program, "It beeps.")
        boxes = wait_for(lambda: loopback_program.traced("msgbox "), 30)
    finally:
        if server:
            server.stop()
    assert boxes and boxes[0].startswith(expected), boxes
    loopback_program.answer_message_box("OK")
    time.sleep(0.5)
    assert not loopback_program.traced("unload frmEmail")
    assert loopback_program.traced("caption frmEmail: ")[-1] == "caption frmEmail: Contact Us"


def test_starttls_with_a_certificate_the_test_ca_signs(loopback_program, server_port):
    server = SmtpServer(starttls=True).start()
    try:
        send_contact_request(loopback_program, "Over TLS.")
        received = server.wait_for_message()
        boxes = wait_for(lambda: loopback_program.traced("msgbox "), 20)
    finally:
        server.stop()
    assert boxes == [SENT], boxes
    assert received and received.mail_from == CLIENT
