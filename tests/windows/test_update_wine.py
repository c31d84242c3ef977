"""The self-update of the real TAVDashboard.exe (loopback build) under Wine against a real HTTP
server on 127.0.0.1: the switch-off, a refused download, and a whole update through the two
batch files."""
import os
import subprocess
import time

import pytest

from conftest import BUILD, TITLE, probe, wait_for
from http_server import UpdateServer, ok
from update_files import folder_files

BASE = "/download/TAVDashboard/"
SUPPORT = "/download/TAVRemoteSupport/TAV-Remote-SupportNEW.exe"
PROGRAM = open(os.path.join(BUILD, "TAVDashboard-loopback.exe"), "rb").read() if BUILD else b""
STUB = open(os.path.join(BUILD, "tav_stub_program.exe"), "rb").read() if BUILD else b""


def paths(server):
    return [r.replace("/download/", "") for r in server.requests]


@pytest.fixture
def server():
    s = UpdateServer()
    yield s
    s.stop()


def test_switched_off_shows_the_reason_and_ends(loopback_program, server):
    server.routes.update({BASE + "ifDisabled.txt": ok("disabled"), BASE + "reasonDisabled.txt": ok("Your plan ended.")})
    server.start()
    proc = loopback_program.start()
    loopback_program.answer_message_box("OK")
    assert proc.wait(10) == 0
    assert loopback_program.traced("msgbox ") == [
        "msgbox TAVDashboard: Brantwell, Inc. has disabled this program.\\nReason being:\\n\\nYour plan ended."]
    assert paths(server) == ["TAVDashboard/ifDisabled.txt", "TAVDashboard/reasonDisabled.txt"]


@pytest.mark.parametrize("if_disabled, new_version", [
    (ok("Disabled"), ok("1.0.32")), (ok("DISABLED"), ok("1.0.4")), (ok(""), ok("1.0.32\r\n")), (ok(""), ok("")),
    (("status", 404, "<html>disabled</html>"), ("status", 404, "<html>9.9.9</html>")), (ok(""), ok("garbage")),
], ids=["Disabled", "DISABLED-older", "line-break", "empty", "error-pages", "garbage"])
def test_no_update_asks_two_questions_and_starts(loopback_program, server, if_disabled, new_version):
    server.routes.update({BASE + "ifDisabled.txt": if_disabled, BASE + "newVersion.txt": new_version})
    server.start()
    loopback_program.start()
    assert loopback_program.wait_dashboard(), "the dashboard did not appear"
    assert paths(server) == ["TAVDashboard/ifDisabled.txt", "TAVDashboard/newVersion.txt"]
    assert loopback_program.traced("msgbox ") == []
    assert folder_files(loopback_program) == ["TAVDashboard.exe", "settings.ini"]


@pytest.mark.parametrize("kind", ["silent", "closed"])
def test_a_dead_or_silent_server_holds_the_start_for_less_than_five_seconds(loopback_program, server, kind):
    if kind == "silent":
        server.routes[BASE + "ifDisabled.txt"] = ("silent",)
        server.start()
    started = time.monotonic()
    loopback_program.start()
    assert loopback_program.wait_dashboard(), "the dashboard did not appear"
    assert time.monotonic() - started < 5
    # A server that does not answer is not asked a second question.
    assert paths(server) == (["TAVDashboard/ifDisabled.txt"] if kind == "silent" else [])


NO_RESPONSE = ("msgbox TAVDashboard: Please restore internet connection.\\n\\nIt is very important that all clients "
               "are using the latest version.\\n\\nIf problem persists, please contact your system administrator.")
DAMAGED = ("msgbox TAVDashboard: The update could not be downloaded completely, so it was not installed.\\n\\n"
           "The program goes on with its current version and tries again at its next start.")


@pytest.mark.parametrize("answer, message", [
    (("status", 404, "<html>404</html>"), DAMAGED),
    (("length", None, STUB), NO_RESPONSE),
    (("length", "0", b""), DAMAGED),
    (("length", "-5", STUB), DAMAGED),
    (("length", "lots", STUB), DAMAGED),
    (("length", str(len(STUB)), STUB[:len(STUB) // 2]), DAMAGED),  # the connection closes early
    (("length", str(len(STUB) // 2), STUB), DAMAGED),  # longer than its length: cut, so not whole
    (ok(b"MZ not a program"), DAMAGED),
    (("endless",), NO_RESPONSE),  # no length, and cut off at 64 MB
], ids=["404", "no-length", "length-0", "negative", "not-a-number", "truncated", "longer", "not-a-program", "endless"])
def test_a_bad_download_replaces_nothing_and_leaves_nothing(loopback_program, server, answer, message):
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"), SUPPORT: answer,
                          BASE + "updateText.txt": ok("news"), BASE + "TAVDashboardNEW.exe": answer})
    server.start()
    proc = loopback_program.start()
    for _ in range(2):  # one message for the support program, one for the program
        loopback_program.answer_message_box("OK", timeout=30)
    assert loopback_program.wait_dashboard()
    assert loopback_program.traced("msgbox ") == [message] * 2
    assert paths(server) == ["TAVDashboard/ifDisabled.txt", "TAVDashboard/newVersion.txt",
                             SUPPORT.replace("/download/", ""), "TAVDashboard/updateText.txt",
                             "TAVDashboard/TAVDashboardNEW.exe"]
    assert folder_files(loopback_program) == ["TAVDashboard.exe", "settings.ini"]
    assert os.path.isdir(os.path.join(loopback_program.folder, "PROGRAMS"))
    with open(os.path.join(loopback_program.folder, "TAVDashboard.exe"), "rb") as f:
        assert f.read() == PROGRAM
    assert proc.poll() is None


def test_a_newer_version_is_swapped_in_by_the_batch_files_and_started(loopback_program, server):
    def version(s):
        return ok("1.0.32") if any(r.endswith("TAVDashboardNEW.exe") for r in s.requests) else ok("1.0.33")
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": version, SUPPORT: ok(STUB),
                          BASE + "updateText.txt": ok("news"), BASE + "TAVDashboardNEW.exe": ok(PROGRAM)})
    server.start()
    exe = os.path.join(loopback_program.folder, "TAVDashboard.exe")
    with open(exe, "ab") as f:  # the old program differs from the new one
        f.write(b"old")
    proc = loopback_program.start()
    loopback_program.answer_message_box("OK", timeout=30, title="Update Complete")
    assert proc.wait(10) == 0
    try:
        # DeleteOLD.bat waits for the old file to come free, renames the download and starts it.
        assert wait_for(lambda: server.requests.count(BASE + "newVersion.txt") == 2, 30), paths(server)
        assert wait_for(lambda: probe("window", TITLE)[1].get("visible") == "1", 20), "the new program showed no dashboard"
        with open(exe, "rb") as f:
            assert f.read() == PROGRAM
        support = os.path.join(loopback_program.folder, "PROGRAMS", "TAV-Remote-Support.exe")
        assert wait_for(lambda: os.path.exists(support), 10)
        with open(support, "rb") as f:
            assert f.read() == STUB
        assert paths(server) == ["TAVDashboard/ifDisabled.txt", "TAVDashboard/newVersion.txt",
                                 SUPPORT.replace("/download/", ""), "TAVDashboard/updateText.txt",
                                 "TAVDashboard/TAVDashboardNEW.exe", "TAVDashboard/ifDisabled.txt",
                                 "TAVDashboard/newVersion.txt"]
        assert wait_for(lambda: not os.path.exists(os.path.join(loopback_program.folder, "DeleteOLDSuppFile.bat")), 10)
        assert not os.path.exists(os.path.join(loopback_program.folder, "TAVDashboardNEW.exe"))
    finally:
        subprocess.run(["pkill", "-f", "TAVDashboard.exe"])
    # DeleteOLD.bat waited for the new program, which it started, and deletes itself after it.
    assert wait_for(lambda: folder_files(loopback_program) == ["PROGRAMS/TAV-Remote-Support.exe", "TAVDashboard.exe",
                                                               "settings.ini"], 15), folder_files(loopback_program)


def test_cancel_during_the_support_download_ends_it_and_skips_the_update(loopback_program, server):
    # The support program trickles in over 20 s; Cancel must end the transfer well before that.
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"),
                          SUPPORT: ("slow", STUB, 20), BASE + "TAVDashboardNEW.exe": ok(PROGRAM)})
    server.start()
    proc = loopback_program.start()
    assert wait_for(lambda: probe("window", "Checking For Updates")[1].get("visible") == "1"), "no update window"
    assert wait_for(lambda: SUPPORT in server.requests), paths(server)
    loopback_program.click("Checking For Updates", 3840, 540, 975, 375)
    loopback_program.answer_message_box("OK", timeout=10)
    assert loopback_program.traced("msgbox ") == ["msgbox TAVDashboard: Update aborted"]
    assert loopback_program.wait_dashboard()
    assert paths(server) == ["TAVDashboard/ifDisabled.txt", "TAVDashboard/newVersion.txt",
                             SUPPORT.replace("/download/", "")]
    assert folder_files(loopback_program) == ["TAVDashboard.exe", "settings.ini"]
    assert proc.poll() is None
