"""The check-up cycle of TAVDashboard.exe under Wine: the appointment window at start-up, reminders
and preferences written to settings.ini, and an appointment request to a real SMTP server."""
import datetime
import os
import subprocess
import time

import pytest

from conftest import TITLE, click, probe, rect, wait_for
from smtp_server import SmtpServer, port_is_free
from summary_texts import summary_block, summary_of

TODAY = datetime.date.today()
APPT = "Setup Appointment"
PICTURE1 = (3570, 3360)  # the reminder options' container
PICTURE2 = (7530, 4710)  # the remote options' container


def us(d):
    return f"{d.month}/{d.day}/{d.year}"


def write_settings(program, last, remind, remind_in):
    lines = ["[SETTINGS]", f"Last Store Visit = {us(last)}", f"Remind Me Date = {us(remind)}",
             f"Remind Me In = {remind_in}", "Start With Windows = 0", "Minimize on Startup = 0", "", "[COMPANY INFO]", ""]
    with open(os.path.join(program.folder, "settings.ini"), "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode())


def read_settings(program):
    with open(os.path.join(program.folder, "settings.ini"), "rb") as f:
        return f.read().decode()


def inside(origin, x, y, w, h):
    return origin[0] + x, origin[1] + y, w, h


def start(program):
    program.start()
    assert program.wait_dashboard(), "the dashboard did not show"


def wait_window(title, visible=True):
    return wait_for(lambda: probe("window", title)[0] and probe("window", title)[1].get("visible") == "1", 15)


@pytest.mark.parametrize("days_ago, remind_in_days, remind_in, opens", [
    (183, 0, 0, True), (183, 1, 7, False), (None, None, None, False),
], ids=["overdue", "reminder-tomorrow", "fresh-file"])
def test_an_overdue_check_up_opens_the_appointment_window_at_start_up(program, days_ago, remind_in_days, remind_in,
                                                                        opens):
    if days_ago is not None:
        write_settings(program, TODAY - datetime.timedelta(days=days_ago),
                       TODAY + datetime.timedelta(days=remind_in_days), remind_in)
    start(program)
    if opens:
        assert wait_window(APPT), "the appointment window did not open"
    else:
        time.sleep(1)
        assert not probe("window", APPT)[0]


def test_set_reminder_next_week_rewrites_the_settings(program):
    write_settings(program, TODAY - datetime.timedelta(days=200), TODAY, 0)
    start(program)
    assert wait_window(APPT)
    program.click(APPT, *inside(PICTURE1, 450, 960, 2415, 315))  # Next Week
    program.click(APPT, 4020, 5640, 2085, 405)  # Set Reminder
    program.answer_message_box("OK")
    assert "msgbox TAVDashboard: A reminder has been set, thank you." in program.traced("msgbox ")
    text = read_settings(program)
    assert f"Remind Me Date = {us(TODAY + datetime.timedelta(days=7))}\r\nRemind Me In = 7\r\n" in text, text


def test_preferences_ok_rewrites_the_file_with_the_edited_last_visit(program):
    write_settings(program, datetime.date(2017, 3, 1), TODAY + datetime.timedelta(days=30), 7)
    start(program)
    ok, client, _ = probe("client", TITLE)
    left, top, _, _ = rect(client)
    subprocess.run(["xdotool", "mousemove", str(left + 644), str(top + 18)], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"], check=True)
    assert wait_window("Preferences"), "a double-click on the preferences picture did not open the window"
    # The month is the picker's first field (M/d/yyyy): one step up.
    program.click("Preferences", 240, 2190, 150, 345)
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", "Up"], check=True)
    time.sleep(0.3)
    program.click("Preferences", 2340, 2820, 1245, 405)  # OK
    program.answer_message_box("OK")
    assert "msgbox TAVDashboard: Settings Saved." in program.traced("msgbox ")
    assert "Last Store Visit = 4/1/2017\r\n" in read_settings(program), read_settings(program)


def test_an_appointment_request_reaches_the_server_with_its_twenty_two_lines(loopback_program):
    program = loopback_program
    assert port_is_free(), "another program already listens on the test mail port"
    write_settings(program, TODAY - datetime.timedelta(days=200), TODAY, 0)
    server = SmtpServer().start()
    try:
        start(program)
        assert wait_window(APPT)
        time.sleep(0.5)
        for box, text in [((8310, 1230, 3255, 330), "Ann Lee"), ((8325, 1740, 3255, 330), "555 0100"),
                          ((8325, 2250, 3255, 330), "ann@example.test"), ((11820, 1530, 3000, 3915), "Fan is loud")]:
            program.click(APPT, *box)
            subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)
        picked = TODAY
        if TODAY.weekday() == 6:  # the store is closed on Sundays: the next day
            program.click(APPT, 8280, 3450, 150, 345)
            time.sleep(0.3)
            subprocess.run(["xdotool", "key", "Right", "Up"], check=True)
            picked = TODAY + datetime.timedelta(days=1)
        program.click(APPT, *inside(PICTURE2, 180, 60, 3495, 345))  # Remote Assistance
        time.sleep(0.3)
        program.click(APPT, 13620, 5640, 1185, 405)  # Send
        received = server.wait_for_message()
    finally:
        server.stop()
    assert received, "the server received no appointment request"
    headers, body = received.headers_and_body()
    assert headers["Subject"] == "Check-up Appointment from TAV Dashboard"
    text = body.decode()
    lines = text.split("\r\n")
    summary = summary_of(program.log())
    # 22 lines, each ended by CR LF, the drives taking as many lines as the dashboard shows.
    assert len(lines) == 23 + summary["drives"].count("\r\n") and lines[-1] == "", lines
    assert text.startswith("Ann Lee\r\n555 0100\r\n\r\nFan is loud\r\n\r\n" + summary_block(summary))
    assert lines[-6:-1] == [f"Preferred Check-up Date: {us(picked)}", "Preferred Check-up Time: 9am-6pm",
                            "Customer would like us to remote in first for initial status?: Yes", "",
                            "PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE TO VERIFY APPOINTMENT DATE/TIME"]
