"""The check-up cycle through the real Linux program: the appointment window at start-up, reminders
and preferences written to settings.ini, and an appointment request to a real SMTP server."""
import datetime
import time

import pytest

from conftest import wait_for
from smtp_server import SmtpServer, port_is_free
from summary_texts import summary_block, summary_of

TODAY = datetime.date.today()


def us(d):
    return f"{d.month}/{d.day}/{d.year}"


def settings(last, remind, remind_in):
    return ["[SETTINGS]", f"Last Store Visit = {us(last)}", f"Remind Me Date = {us(remind)}",
            f"Remind Me In = {remind_in}", "Start With Windows = 0", "Minimize on Startup = 0", "", "[COMPANY INFO]", ""]


def centre(x, y, w, h, container=(0, 0)):
    return container[0] + x + w / 2, container[1] + y + h / 2


APPT_SHOWN = "show frmAppt: Setup Appointment"
PICTURE1 = (3570, 3360)  # the reminder options' container
PICTURE2 = (7530, 4710)  # the remote options' container


def start(program):
    proc = program.start()
    dashboard = program.wait_for_dashboard()
    assert dashboard, "the dashboard did not appear"
    return proc, dashboard[0]


def appointment_window(program):
    return wait_for(lambda: program.display.visible("--name", "^Setup Appointment$"), 10)


@pytest.mark.parametrize("lines, opens", [
    (settings(TODAY - datetime.timedelta(days=183), TODAY, 0), True),
    (settings(TODAY - datetime.timedelta(days=183), TODAY + datetime.timedelta(days=1), 7), False),
    (None, False),
], ids=["overdue", "reminder-tomorrow", "fresh-file"])
def test_an_overdue_check_up_opens_the_appointment_window_at_start_up(program, lines, opens):
    if lines:
        program.write_settings(lines)
    proc, _ = start(program)
    if opens:
        assert appointment_window(program), "the appointment window did not open"
    else:
        time.sleep(1)
        assert not program.display.visible("--name", "^Setup Appointment$")
    assert (APPT_SHOWN in program.traced(proc, "show ")) == opens


def test_set_reminder_next_week_rewrites_the_settings(program):
    program.write_settings(settings(TODAY - datetime.timedelta(days=200), TODAY, 0))
    proc, _ = start(program)
    window = appointment_window(program)
    assert window
    program.click(window[0], *centre(450, 960, 2415, 315, PICTURE1))  # Next Week
    program.click(window[0], *centre(4020, 5640, 2085, 405))  # Set Reminder
    program.answer_message_box()
    assert "msgbox TAVDashboard: A reminder has been set, thank you." in program.traced(proc, "msgbox ")
    text = program.read_settings()
    assert f"Remind Me Date = {us(TODAY + datetime.timedelta(days=7))}\r\nRemind Me In = 7\r\n" in text, text
    assert wait_for(lambda: not program.display.visible("--name", "^Setup Appointment$"), 5)


def test_preferences_ok_rewrites_the_file_with_the_edited_last_visit(program):
    last = datetime.date(2017, 3, 1)
    program.write_settings(settings(last, TODAY + datetime.timedelta(days=30), 7))
    proc, dashboard = start(program)
    program.display.xdotool("mousemove", "--window", str(dashboard), str(round(9660 / 15)), str(round(270 / 15)),
                            "click", "--repeat", "2", "--delay", "80", "1")
    pref = wait_for(lambda: program.display.visible("--name", "^Preferences$"), 10)
    assert pref, "a double-click on the preferences picture did not open the preferences window"
    # The month is the picker's first section (M/d/yyyy): one step up.
    program.click(pref[0], 240 + 60, 2190 + 172)
    time.sleep(0.3)
    program.display.xdotool("key", "Up")
    time.sleep(0.3)
    program.click(pref[0], *centre(2340, 2820, 1245, 405))  # OK
    program.answer_message_box()
    assert "msgbox TAVDashboard: Settings Saved." in program.traced(proc, "msgbox ")
    assert "Last Store Visit = 4/1/2017\r\n" in program.read_settings(), program.read_settings()


def test_an_appointment_request_reaches_the_server_with_its_twenty_two_lines(loopback_program):
    program = loopback_program
    assert port_is_free(), "another program already listens on the test mail port"
    program.write_settings(settings(TODAY - datetime.timedelta(days=200), TODAY, 0))
    server = SmtpServer().start()
    try:
        proc, _ = start(program)
        window = appointment_window(program)
        assert window
        for box, text in [((8310, 1230, 3255, 330), "Ann Lee"), ((8325, 1740, 3255, 330), "555 0100"),
                          ((8325, 2250, 3255, 330), "ann@example.test"), ((11820, 1530, 3000, 3915), "Fan is loud")]:
            program.click(window[0], *centre(*box))
            program.display.xdotool("type", "--delay", "10", text)
        picked = TODAY
        if TODAY.weekday() == 6:  # the store is closed on Sundays: a month later
            program.click(window[0], 8280 + 60, 3450 + 172)
            time.sleep(0.3)
            program.display.xdotool("key", "Up")
            month = TODAY.month % 12 + 1
            year = TODAY.year + (TODAY.month == 12)
            day = min(TODAY.day, (datetime.date(year + (month == 12), month % 12 + 1, 1) - datetime.timedelta(days=1)).day)
            picked = datetime.date(year, month, day)
        program.click(window[0], *centre(180, 60, 3495, 345, PICTURE2))  # Remote Assistance
        time.sleep(0.3)
        program.click(window[0], *centre(13620, 5640, 1185, 405))  # Send
        received = server.wait_for_message()
    finally:
        server.stop()
    assert received, "the server received no appointment request"
    headers, body = received.headers_and_body()
    assert headers["Subject"] == "Check-up Appointment from TAV Dashboard"
    text = body.decode()
    lines = text.split("\r\n")
    summary = summary_of(program.log(proc))
    # 22 lines, each ended by CR LF, the drives taking as many lines as the dashboard shows.
    assert len(lines) == 23 + summary["drives"].count("\r\n") and lines[-1] == "", lines
    assert text.startswith("Ann Lee\r\n555 0100\r\n\r\nFan is loud\r\n\r\n" + summary_block(summary))
    assert lines[-6:-1] == [f"Preferred Check-up Date: {us(picked)}", "Preferred Check-up Time: 9am-6pm",
                            "Customer would like us to remote in first for initial status?: Yes", "",
                            "PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE TO VERIFY APPOINTMENT DATE/TIME"]
    assert wait_for(lambda: "msgbox TAVDashboard: Email sent to Brantwell.  A technician will respond as soon as "
                            "possible." in program.traced(proc, "msgbox "), 10)
