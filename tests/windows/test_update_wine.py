"""The self-update of the real TAVDashboard.exe (loopback build) under Wine against a real HTTP
server on 127.0.0.1: the switch-off, a refused download, and a whole update through the two
batch files."""
import os
import subprocess
import time

import pytest

from conftest import BUILD, TITLE, probe, wait_for
from http_server import UpdateServer, ok

BASE = "/download/TAVDashboard/"
SUPPORT = "/download/TAVRemoteSupport/TAV-Remote-SupportNEW.exe"
PROGRAM = open(os.path.join(BUILD, "TAVDashboard-loopback.exe"), "rb").read() if BUILD else b""
STUB = open(os.path.join(BUILD, "tav_stub_program.exe"), "rb").read() if BUILD else b""


def paths(server):
    return [r.replace("/download/", "") for r in server.requests]


def folder_files(program):
    found = []
    for root, _, names in os.walk(program.folder):
        found += [os.path.relpath(os.path.join(root, n), program.folder) for n in names]
    return sorted(found)


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


def test_a_silent_server_holds_the_start_for_less_than_five_seconds(loopback_program, server):
    server.routes[BASE + "ifDisabled.txt"] = ("silent",)
    server.start()
    started = time.monotonic()
    loopback_program.start()
    assert loopback_program.wait_dashboard(), "the dashboard did not appear"
    assert time.monotonic() - started < 5
    assert paths(server) == ["TAVDashboard/ifDisabled.txt"]


def test_a_truncated_download_replaces_nothing(loopback_program, server):
    cut = ("length", str(len(STUB)), STUB[: len(STUB) // 2])
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"), SUPPORT: cut,
                          BASE + "updateText.txt": ok("news"), BASE + "TAVDashboardNEW.exe": cut})
    server.start()
    loopback_program.start()
    for _ in range(2):
        loopback_program.answer_message_box("OK", timeout=20)
    assert loopback_program.wait_dashboard()
    assert loopback_program.traced("msgbox ") == [
        "msgbox TAVDashboard: The update could not be downloaded completely, so it was not installed.\\n\\nThe program "
        "goes on with its current version and tries again at its next start."] * 2
    assert folder_files(loopback_program) == ["TAVDashboard.exe", "settings.ini"]
    with open(os.path.join(loopback_program.folder, "TAVDashboard.exe"), "rb") as f:
        assert f.read() == PROGRAM


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
