"""Signed updates of the real Linux program (the loopback build of a store with a signing key)
against a real HTTP server on 127.0.0.1, with files signed by scripts/sign_update.sh: a signed
update goes through; a wrong key, a changed byte, a replayed signature and a missing one are
each refused with the folder left clean; only a signed switch-off counts."""
import os
import shutil
import subprocess
import tempfile

import pytest

from conftest import program_on, wait_for
from http_server import UpdateServer, ok
from update_files import STORE_KEY, folder_files, new_key, sign, sign_notice

SIGNED_EXE = os.environ.get("TAV_SIGNED_EXE", "")
BASE = "/download/TAVDashboard-linux/"
SUPPORT = "/download/TAVRemoteSupport-linux/TAV-Remote-SupportNEW"
DAMAGED = ("msgbox TAVDashboard: The update could not be downloaded completely, so it was not installed.\\n\\n"
           "The program goes on with its current version and tries again at its next start.")
GOOD = open("/usr/bin/true", "rb").read()


@pytest.fixture
def work():
    folder = tempfile.mkdtemp(prefix="tav-sign-")
    yield folder
    shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture
def other_key(work):
    return new_key(os.path.join(work, "other"))


@pytest.fixture
def signed_program(display):
    if not SIGNED_EXE:
        pytest.skip("TAV_SIGNED_EXE names no signed loopback build")
    yield from program_on(display, SIGNED_EXE, tempfile.mkdtemp(prefix="tav signed "))


@pytest.fixture
def server():
    s = UpdateServer()
    yield s
    s.stop()


def offer(server, program_bytes, program_sig, support_sig):
    """A newer version 1.0.33 on the server, with the given signature files (None: none)."""
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"),
                          SUPPORT: ok(GOOD), BASE + "updateText.txt": ok("news"),
                          BASE + "TAVDashboardNEW": ok(program_bytes)})
    if support_sig is not None:
        server.routes[SUPPORT + ".sig"] = ok(support_sig)
    if program_sig is not None:
        server.routes[BASE + "TAVDashboardNEW.sig"] = ok(program_sig)


def test_a_signed_update_replaces_the_program(signed_program, server, work):
    program = open(SIGNED_EXE, "rb").read()

    # After its download the server offers the current version again, or the new program
    # would update itself once more.
    offer(server, program, sign(STORE_KEY, program, "TAVDashboardNEW", "1.0.33", work),
          sign(STORE_KEY, GOOD, "TAV-Remote-SupportNEW", "1.0.33", work))
    server.routes[BASE + "newVersion.txt"] = lambda s: ok("1.0.32") if BASE + "TAVDashboardNEW" in s.requests else ok("1.0.33")
    server.start()
    proc = signed_program.start()
    signed_program.answer_message_box("Return", timeout=20, title="Update Complete")
    assert proc.wait(10) == 0
    try:
        assert server.requests[:7] == [BASE + "ifDisabled.txt", BASE + "newVersion.txt", SUPPORT + ".sig", SUPPORT,
                                       BASE + "updateText.txt", BASE + "TAVDashboardNEW.sig", BASE + "TAVDashboardNEW"]
        assert wait_for(signed_program.dashboard_windows, 15), "the new program showed no dashboard"
        with open(os.path.join(signed_program.folder, "PROGRAMS", "TAV-Remote-Support"), "rb") as f:
            assert f.read() == GOOD
    finally:
        # The new program was started by the old one, not by the test.
        subprocess.run(["pkill", "-f", signed_program.exe])


@pytest.mark.parametrize("case", ["wrong-key", "changed-byte", "replayed-old-version", "missing"])
def test_a_badly_signed_update_is_refused_and_leaves_the_folder_clean(signed_program, server, work, other_key, case):
    program = open(SIGNED_EXE, "rb").read()
    if case == "wrong-key":
        program_sig = sign(other_key, program, "TAVDashboardNEW", "1.0.33", work)
        support_sig = sign(other_key, GOOD, "TAV-Remote-SupportNEW", "1.0.33", work)
    elif case == "changed-byte":
        program_sig = sign(STORE_KEY, program, "TAVDashboardNEW", "1.0.33", work)
        support_sig = sign(STORE_KEY, GOOD, "TAV-Remote-SupportNEW", "1.0.33", work)
        changed = bytearray(program)
        changed[len(changed) // 2] ^= 1
        program = bytes(changed)
    elif case == "replayed-old-version":
        # The files of the current version, signed when it was new, offered as 1.0.33.
        program_sig = sign(STORE_KEY, program, "TAVDashboardNEW", "1.0.32", work)
        support_sig = sign(STORE_KEY, GOOD, "TAV-Remote-SupportNEW", "1.0.32", work)
    else:
        program_sig = support_sig = None
    offer(server, program, program_sig, support_sig)
    if case == "changed-byte":
        server.routes[SUPPORT] = ok(GOOD[:-1] + bytes([GOOD[-1] ^ 1]))  # its signature is of the true file
    server.start()
    old = open(signed_program.exe, "rb").read()
    proc = signed_program.start()
    for _ in range(2):  # one message for the support program, one for the program
        signed_program.answer_message_box("Return", timeout=20)
    assert signed_program.wait_for_dashboard(), "the dashboard did not appear"
    assert signed_program.traced(proc, "msgbox ") == [DAMAGED, DAMAGED]
    assert open(signed_program.exe, "rb").read() == old
    assert folder_files(signed_program) == ["TAVDashboard", "settings.ini"]
    assert proc.poll() is None


@pytest.mark.parametrize("case", ["signed", "unsigned", "forged-reason", "wrong-key"])
def test_only_a_signed_switch_off_counts(signed_program, server, work, other_key, case):
    reason = "Your service plan has ended."
    server.routes.update({BASE + "ifDisabled.txt": ok("disabled"), BASE + "reasonDisabled.txt": ok(reason),
                          BASE + "newVersion.txt": ok("1.0.32")})
    if case == "signed":
        server.routes[BASE + "ifDisabled.txt.sig"] = ok(sign_notice(STORE_KEY, "disabled", reason, work))
    elif case == "forged-reason":
        server.routes[BASE + "ifDisabled.txt.sig"] = ok(sign_notice(STORE_KEY, "disabled", "another reason", work))
        server.routes[BASE + "reasonDisabled.txt"] = ok("Call 555-0100 to pay a fine.")
    elif case == "wrong-key":
        server.routes[BASE + "ifDisabled.txt.sig"] = ok(sign_notice(other_key, "disabled", reason, work))
    server.start()
    proc = signed_program.start()
    if case == "signed":
        signed_program.answer_message_box("Return")
        assert proc.wait(5) == 0
        assert signed_program.traced(proc, "msgbox ") == [
            "msgbox TAVDashboard: Brantwell, Inc. has disabled this program.\\nReason being:\\n\\n" + reason]
    else:
        assert signed_program.wait_for_dashboard(), "the dashboard did not appear"
        assert signed_program.traced(proc, "msgbox ") == []
        assert server.requests[-1] == BASE + "newVersion.txt"
