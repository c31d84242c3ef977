"""The store's release script: staging an update refuses files that clients would refuse or
that would update them again at every start, and checking a server downloads what it offers
as the clients do (from a real HTTP server on 127.0.0.1)."""
import os
import shutil
import struct
import subprocess
import tempfile

import pytest

from conftest import EXE
from http_server import UpdateServer, ok

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "release.sh")
BASE_URL = "http://127.0.0.1:38080/download/"
VERSION = "1.0.32"  # the version of the program just built
SUPPORT = "/usr/bin/true"


def release(*args):
    return subprocess.run(["bash", SCRIPT, *args], capture_output=True, text=True, timeout=120)


def fake_pe(machine=0x8664, version=VERSION):
    """The smallest file the script takes for a Windows program: MZ, the PE header at offset 64
    with its machine, and the version mark the program carries."""
    header = b"MZ" + b"\0" * 58 + struct.pack("<I", 64)
    return header + b"PE\0\0" + struct.pack("<H", machine) + b"\0" * 16 + f"TAVDashboard version {version};".encode()


@pytest.fixture
def work():
    folder = tempfile.mkdtemp(prefix="tav-release-")
    yield folder
    shutil.rmtree(folder, ignore_errors=True)


def write(folder, name, data):
    path = os.path.join(folder, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def served(folder):
    """A server that offers the files of a staged folder under /download/."""
    server = UpdateServer()
    for root, _, names in os.walk(folder):
        for n in names:
            path = os.path.join(root, n)
            with open(path, "rb") as f:
                server.routes["/download/" + os.path.relpath(path, folder)] = ok(f.read())
    return server


def test_a_staged_update_lays_out_the_server_folders_and_passes_the_check(work):
    out = os.path.join(work, "download")
    result = release("stage", "linux", VERSION, EXE, SUPPORT, out, "Faster start")
    assert result.returncode == 0, result.stderr
    files = sorted(os.path.relpath(os.path.join(r, n), out) for r, _, ns in os.walk(out) for n in ns)
    assert files == ["TAVDashboard-linux/TAVDashboardNEW", "TAVDashboard-linux/ifDisabled.txt",
                     "TAVDashboard-linux/newVersion.txt", "TAVDashboard-linux/updateText.txt",
                     "TAVRemoteSupport-linux/TAV-Remote-SupportNEW"]
    with open(os.path.join(out, "TAVDashboard-linux/newVersion.txt")) as f:
        assert f.read() == VERSION
    server = served(out).start()
    try:
        result = release("check", "linux", VERSION, BASE_URL)
        assert result.returncode == 0, result.stderr
        assert "they will accept it" in result.stdout
        assert server.requests == ["/download/TAVDashboard-linux/ifDisabled.txt",
                                   "/download/TAVDashboard-linux/newVersion.txt",
                                   "/download/TAVRemoteSupport-linux/TAV-Remote-SupportNEW",
                                   "/download/TAVDashboard-linux/TAVDashboardNEW"]
    finally:
        server.stop()


@pytest.mark.parametrize("build, version, program, message", [
    ("linux", "1.0.33", "exe", "does not carry version 1.0.33"),  # clients would update at every start
    ("linux", "1.0.x", "exe", "not a version of dotted whole numbers"),
    ("linux", VERSION, "script", "not a Linux program"),
    ("windows", VERSION, "exe", "not a Windows program"),
    ("windows", VERSION, "pe-i386", "not a 64-bit (x86-64) Windows program"),
    ("windows", "1.0.33", "pe", "does not carry version 1.0.33"),
], ids=["older-program", "bad-version", "not-a-program", "linux-program-for-windows", "32-bit-pe", "pe-older"])
def test_staging_refuses_what_clients_would_refuse_or_update_again(work, build, version, program, message):
    files = {"exe": EXE, "script": write(work, "script", b"#!/bin/sh\necho hello\n"),
             "pe": write(work, "new.exe", fake_pe()), "pe-i386": write(work, "new32.exe", fake_pe(0x14c))}
    out = os.path.join(work, "download")
    result = release("stage", build, version, files[program], SUPPORT if build == "linux" else files["pe"], out)
    assert result.returncode != 0
    assert message in result.stderr
    assert not os.path.exists(out)


def test_a_windows_update_is_staged_under_its_own_names(work):
    out = os.path.join(work, "download")
    pe = write(work, "new.exe", fake_pe())
    result = release("stage", "windows", VERSION, pe, pe, out)
    assert result.returncode == 0, result.stderr
    assert os.path.isfile(os.path.join(out, "TAVDashboard/TAVDashboardNEW.exe"))
    assert os.path.isfile(os.path.join(out, "TAVRemoteSupport/TAV-Remote-SupportNEW.exe"))


@pytest.mark.parametrize("change, message", [
    (("TAVDashboard-linux/TAVDashboardNEW", ("length", None, b"\x7fELF")), "without a Content-Length"),
    (("TAVDashboard-linux/TAVDashboardNEW", ("status", 404, "<html>404</html>")), "answers 404"),
    (("TAVDashboard-linux/newVersion.txt", ok("1.0.31")), "not 1.0.32"),
    (("TAVDashboard-linux/ifDisabled.txt", ok("disabled")), "switched off"),
    (("TAVRemoteSupport-linux/TAV-Remote-SupportNEW", ok(b"<html>moved</html>")), "not a Linux program"),
], ids=["no-length", "missing-program", "old-version-text", "switched-off", "support-not-a-program"])
def test_the_check_fails_where_a_client_would_not_update(work, change, message):
    out = os.path.join(work, "download")
    assert release("stage", "linux", VERSION, EXE, SUPPORT, out).returncode == 0
    server = served(out)
    server.routes["/download/" + change[0]] = change[1]
    server.start()
    try:
        result = release("check", "linux", VERSION, BASE_URL)
    finally:
        server.stop()
    assert result.returncode != 0
    assert message in result.stderr


def test_switching_off_and_on_again(work):
    out = os.path.join(work, "download")
    assert release("switch-off", out, "linux", "").returncode != 0  # a reason is required
    result = release("switch-off", out, "linux", "Please call us at (555) 010-0182 to renew your plan.")
    assert result.returncode == 0, result.stderr
    with open(os.path.join(out, "TAVDashboard-linux/ifDisabled.txt")) as f:
        assert f.read() == "disabled"
    with open(os.path.join(out, "TAVDashboard-linux/reasonDisabled.txt")) as f:
        assert f.read() == "Please call us at (555) 010-0182 to renew your plan."
    assert release("switch-on", out, "linux").returncode == 0
    assert os.path.getsize(os.path.join(out, "TAVDashboard-linux/ifDisabled.txt")) == 0
