"""The self-update of the real Linux program (loopback build) against a real HTTP server on
127.0.0.1: the store's switch-off, the version check, refused downloads and a whole update."""
import os
import shutil
import signal
import subprocess
import time

import pytest

from conftest import wait_for
from http_server import UpdateServer, ok
from update_files import folder_files

BASE = "/download/TAVDashboard-linux/"
SUPPORT = "/download/TAVRemoteSupport-linux/TAV-Remote-SupportNEW"
NO_RESPONSE = ("msgbox TAVDashboard: Please restore internet connection.\\n\\nIt is very important that all clients "
               "are using the latest version.\\n\\nIf problem persists, please contact your system administrator.")
DAMAGED = ("msgbox TAVDashboard: The update could not be downloaded completely, so it was not installed.\\n\\n"
           "The program goes on with its current version and tries again at its next start.")


def paths(server):
    return [r.replace("/download/", "") for r in server.requests]


@pytest.fixture
def server():
    s = UpdateServer()
    yield s
    s.stop()


def test_switched_off_shows_the_reason_and_ends_before_the_tray(loopback_program, server):
    server.routes.update({BASE + "ifDisabled.txt": ok("disabled"), BASE + "reasonDisabled.txt": ok("Your plan ended.")})
    server.start()
    proc = loopback_program.start()
    loopback_program.answer_message_box("Return")
    assert proc.wait(5) == 0
    assert loopback_program.traced(proc, "msgbox ") == [
        "msgbox TAVDashboard: Brantwell, Inc. has disabled this program.\\nReason being:\\n\\nYour plan ended."]
    assert paths(server) == ["TAVDashboard-linux/ifDisabled.txt", "TAVDashboard-linux/reasonDisabled.txt"]
    assert not loopback_program.traced(proc, "show frmSysTray")


@pytest.mark.parametrize("if_disabled, new_version", [
    (ok("Disabled"), ok("1.0.32")), (ok("DISABLED"), ok("1.0.4")), (ok(""), ok("1.0.32\r\n")), (ok(""), ok("")),
    (("status", 404, "<html>disabled</html>"), ("status", 404, "<html>9.9.9</html>")), (ok(""), ok("garbage")),
], ids=["Disabled", "DISABLED-older", "line-break", "empty", "error-pages", "garbage"])
def test_no_update_asks_two_questions_and_starts(loopback_program, server, if_disabled, new_version):
    server.routes.update({BASE + "ifDisabled.txt": if_disabled, BASE + "newVersion.txt": new_version})
    server.start()
    proc = loopback_program.start()
    assert loopback_program.wait_for_dashboard(), "the dashboard did not appear"
    assert paths(server) == ["TAVDashboard-linux/ifDisabled.txt", "TAVDashboard-linux/newVersion.txt"]
    assert loopback_program.traced(proc, "msgbox ") == []
    assert folder_files(loopback_program) == ["TAVDashboard", "settings.ini"]


@pytest.mark.parametrize("kind", ["silent", "closed"])
def test_a_dead_or_silent_server_holds_the_start_for_less_than_five_seconds(loopback_program, server, kind):
    if kind == "silent":
        server.routes[BASE + "ifDisabled.txt"] = ("silent",)
        server.start()
    started = time.monotonic()
    loopback_program.start()
    assert loopback_program.wait_for_dashboard(10), "the dashboard did not appear"
    assert time.monotonic() - started < 5
    # A server that does not answer is not asked a second question.
    assert paths(server) == (["TAVDashboard-linux/ifDisabled.txt"] if kind == "silent" else [])


PROGRAM = open(os.environ.get("TAV_LOOPBACK_EXE", ""), "rb").read() if os.environ.get("TAV_LOOPBACK_EXE") else b""
GOOD = open("/usr/bin/true", "rb").read()


@pytest.mark.parametrize("answer, message", [
    (("status", 404, "<html>404</html>"), DAMAGED),
    (("length", None, GOOD), NO_RESPONSE),
    (("length", "0", b""), DAMAGED),
    # libcurl takes a Content-Length that is no count for no answer at all.
    (("length", "-5", GOOD), NO_RESPONSE),
    (("length", "lots", GOOD), NO_RESPONSE),
    (("length", str(len(GOOD)), GOOD[:len(GOOD) // 2]), DAMAGED),  # the connection closes early
    (("length", str(len(GOOD) // 2), GOOD), DAMAGED),  # longer than its length: cut, so not whole
    (ok(b"#!/bin/sh\necho not a program\n"), DAMAGED),
    (("endless",), NO_RESPONSE),  # no length, and cut off at 64 MB
], ids=["404", "no-length", "length-0", "negative", "not-a-number", "truncated", "longer", "not-a-program", "endless"])
def test_a_bad_download_replaces_nothing_and_leaves_nothing(loopback_program, server, answer, message):
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"),
                          SUPPORT: answer, BASE + "updateText.txt": ok("news"), BASE + "TAVDashboardNEW": answer})
    server.start()
    proc = loopback_program.start()
    for _ in range(2):  # one message for the support program, one for the program
        loopback_program.answer_message_box("Return", timeout=20)
    assert loopback_program.wait_for_dashboard(), "the dashboard did not appear"
    assert loopback_program.traced(proc, "msgbox ") == [message, message]
    assert paths(server) == ["TAVDashboard-linux/ifDisabled.txt", "TAVDashboard-linux/newVersion.txt",
                             SUPPORT.replace("/download/", ""), "TAVDashboard-linux/updateText.txt",
                             "TAVDashboard-linux/TAVDashboardNEW"]
    with open(loopback_program.exe, "rb") as f:
        assert f.read() == PROGRAM
    assert folder_files(loopback_program) == ["TAVDashboard", "settings.ini"]
    assert os.path.isdir(os.path.join(loopback_program.folder, "PROGRAMS"))
    assert proc.poll() is None


def test_a_newer_version_replaces_both_programs_and_starts_the_new_one(loopback_program, server):
    # After the program's download the server offers the current version again, or the new
    # program would update itself once more.
    def version(s):
        return ok("1.0.32") if any(r.endswith("TAVDashboardNEW") for r in s.requests) else ok("1.0.33")
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": version, SUPPORT: ok(GOOD),
                          BASE + "updateText.txt": ok("news"), BASE + "TAVDashboardNEW": ok(PROGRAM)})
    server.start()
    old_stat = os.stat(loopback_program.exe)
    proc = loopback_program.start()
    loopback_program.answer_message_box("Return", timeout=20, title="Update Complete")
    assert proc.wait(10) == 0
    assert loopback_program.traced(proc, "msgbox ") == [
        "msgbox Update Complete: The update is complete. Press ok to open the new version."]
    try:
        # The new program starts in the same folder and asks the server again.
        assert wait_for(lambda: server.requests.count("/download/TAVDashboard-linux/newVersion.txt") == 2, 15)
        assert wait_for(loopback_program.dashboard_windows, 10), "the new program showed no dashboard"
        assert paths(server) == ["TAVDashboard-linux/ifDisabled.txt", "TAVDashboard-linux/newVersion.txt",
                                 SUPPORT.replace("/download/", ""), "TAVDashboard-linux/updateText.txt",
                                 "TAVDashboard-linux/TAVDashboardNEW", "TAVDashboard-linux/ifDisabled.txt",
                                 "TAVDashboard-linux/newVersion.txt"]
        new_stat = os.stat(loopback_program.exe)
        assert new_stat.st_ino != old_stat.st_ino and new_stat.st_mode & 0o111
        with open(os.path.join(loopback_program.folder, "PROGRAMS", "TAV-Remote-Support"), "rb") as f:
            assert f.read() == GOOD
        assert folder_files(loopback_program) == ["PROGRAMS/TAV-Remote-Support", "TAVDashboard", "settings.ini"]
    finally:
        subprocess.run(["pkill", "-f", loopback_program.exe])


def test_cancel_during_the_support_download_ends_it_and_skips_the_update(loopback_program, server):
    # The support program trickles in over 20 s; Cancel must end the transfer well before that.
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"),
                          SUPPORT: ("slow", GOOD, 20), BASE + "TAVDashboardNEW": ok(PROGRAM)})
    server.start()
    proc = loopback_program.start()
    window = wait_for(lambda: loopback_program.display.visible("--name", "^Checking For Updates$"))
    assert window, "no update window"
    assert wait_for(lambda: SUPPORT in server.requests), paths(server)
    loopback_program.click(window[0], 3840 + 975 // 2, 540 + 375 // 2)
    loopback_program.answer_message_box("Return", timeout=10)
    assert loopback_program.traced(proc, "msgbox ") == ["msgbox TAVDashboard: Update aborted"]
    assert loopback_program.wait_for_dashboard(), "the dashboard did not appear"
    assert paths(server) == ["TAVDashboard-linux/ifDisabled.txt", "TAVDashboard-linux/newVersion.txt",
                             SUPPORT.replace("/download/", "")]
    assert folder_files(loopback_program) == ["TAVDashboard", "settings.ini"]
    assert proc.poll() is None
