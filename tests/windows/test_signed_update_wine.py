"""Signed updates of the real TAVDashboard.exe under Wine (the loopback build of a store with a
signing key, checking with CNG) against a real HTTP server on 127.0.0.1, with files signed by
scripts/sign_update.sh: a signed update is swapped in; a wrong key, a changed byte, a replayed
signature and a missing one are each refused with the folder left clean; only a signed
switch-off counts."""
import os
import shutil
import subprocess
import tempfile

import pytest

from conftest import BUILD, TITLE, Program, probe, wait_for
from http_server import UpdateServer, ok
from update_files import STORE_KEY, folder_files, new_key, sign, sign_notice

BASE = "/download/TAVDashboard/"
SUPPORT = "/download/TAVRemoteSupport/TAV-Remote-SupportNEW.exe"
PROGRAM = open(os.path.join(BUILD, "TAVDashboard-signed.exe"), "rb").read() if BUILD else b""
STUB = open(os.path.join(BUILD, "tav_stub_program.exe"), "rb").read() if BUILD else b""
DAMAGED = ("msgbox TAVDashboard: The update could not be downloaded completely, so it was not installed.\\n\\n"
           "The program goes on with its current version and tries again at its next start.")


@pytest.fixture
def work():
    folder = tempfile.mkdtemp(prefix="tav-sign-")
    yield folder
    shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture
def signed_program():
    folder = tempfile.mkdtemp(prefix="tav wine signed ")
    shutil.copy(os.path.join(BUILD, "TAVDashboard-signed.exe"), os.path.join(folder, "TAVDashboard.exe"))
    p = Program(folder)
    yield p
    p.stop()
    wait_for(lambda: not probe("find", "ThunderRT6Main", "TAVDashboard")[0], timeout=10)
    shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture
def server():
    s = UpdateServer()
    yield s
    s.stop()


def test_a_signed_update_is_swapped_in(signed_program, server, work):
    def version(s):
        return ok("1.0.32") if BASE + "TAVDashboardNEW.exe" in s.requests else ok("1.0.33")
    server.routes.update({
        BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": version, BASE + "updateText.txt": ok("news"),
        SUPPORT: ok(STUB), SUPPORT + ".sig": ok(sign(STORE_KEY, STUB, "TAV-Remote-SupportNEW.exe", "1.0.33", work)),
        BASE + "TAVDashboardNEW.exe": ok(PROGRAM),
        BASE + "TAVDashboardNEW.exe.sig": ok(sign(STORE_KEY, PROGRAM, "TAVDashboardNEW.exe", "1.0.33", work))})
    server.start()
    exe = os.path.join(signed_program.folder, "TAVDashboard.exe")
    with open(exe, "ab") as f:  # the old program differs from the new one
        f.write(b"old")
    proc = signed_program.start()
    signed_program.answer_message_box("OK", timeout=30, title="Update Complete")
    assert proc.wait(10) == 0
    try:
        assert wait_for(lambda: server.requests.count(BASE + "newVersion.txt") == 2, 30), server.requests
        assert wait_for(lambda: probe("window", TITLE)[1].get("visible") == "1", 20), "the new program showed no dashboard"
        with open(exe, "rb") as f:
            assert f.read() == PROGRAM
        assert server.requests[:7] == [BASE + "ifDisabled.txt", BASE + "newVersion.txt", SUPPORT + ".sig", SUPPORT,
                                       BASE + "updateText.txt", BASE + "TAVDashboardNEW.exe.sig",
                                       BASE + "TAVDashboardNEW.exe"]
    finally:
        subprocess.run(["pkill", "-f", "TAVDashboard.exe"])


@pytest.mark.parametrize("case", ["wrong-key", "changed-byte", "replayed-old-version", "missing"])
def test_a_badly_signed_update_is_refused_and_leaves_the_folder_clean(signed_program, server, work, case):
    program, support = PROGRAM, STUB
    key, version = STORE_KEY, "1.0.33"
    if case == "wrong-key":
        key = new_key(os.path.join(work, "other"))
    elif case == "replayed-old-version":
        version = "1.0.32"
    routes = {BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"), BASE + "updateText.txt": ok("news")}
    if case != "missing":
        routes[SUPPORT + ".sig"] = ok(sign(key, support, "TAV-Remote-SupportNEW.exe", version, work))
        routes[BASE + "TAVDashboardNEW.exe.sig"] = ok(sign(key, program, "TAVDashboardNEW.exe", version, work))
    if case == "changed-byte":
        program = program[:5000] + bytes([program[5000] ^ 1]) + program[5001:]
        support = support[:-1] + bytes([support[-1] ^ 1])
    routes.update({SUPPORT: ok(support), BASE + "TAVDashboardNEW.exe": ok(program)})
    server.routes.update(routes)
    server.start()
    proc = signed_program.start()
    for _ in range(2):  # one message for the support program, one for the program
        signed_program.answer_message_box("OK", timeout=30)
    assert signed_program.wait_dashboard(), "the dashboard did not appear"
    assert signed_program.traced("msgbox ") == [DAMAGED, DAMAGED]
    assert folder_files(signed_program) == ["TAVDashboard.exe", "settings.ini"]
    assert proc.poll() is None


@pytest.mark.parametrize("case", ["signed", "unsigned"])
def test_only_a_signed_switch_off_counts(signed_program, server, work, case):
    reason = "Your service plan has ended."
    server.routes.update({BASE + "ifDisabled.txt": ok("disabled"), BASE + "reasonDisabled.txt": ok(reason),
                          BASE + "newVersion.txt": ok("1.0.32")})
    if case == "signed":
        server.routes[BASE + "ifDisabled.txt.sig"] = ok(sign_notice(STORE_KEY, "disabled", reason, work))
    server.start()
    proc = signed_program.start()
    if case == "signed":
        signed_program.answer_message_box("OK")
        assert proc.wait(10) == 0
        assert signed_program.traced("msgbox ") == [
            "msgbox TAVDashboard: Brantwell, Inc. has disabled this program.\\nReason being:\\n\\n" + reason]
    else:
        assert signed_program.wait_dashboard(), "the dashboard did not appear"
        assert signed_program.traced("msgbox ") == []
        assert server.requests == [BASE + "ifDisabled.txt", BASE + "reasonDisabled.txt", BASE + "ifDisabled.txt.sig",
                                   BASE + "newVersion.txt"]
