"""The Debian package, installed with dpkg into this machine's own root: the program runs as
/usr/bin/TAVDashboard on the virtual display, keeps settings.ini in the user's XDG folder,
leaves updates to the package manager but honours the store's switch-off, is upgraded in place
with its settings kept, and is removed without a trace."""
import glob
import os
import shutil
import subprocess
import tempfile

import pytest

from conftest import LOOPBACK_EXE, Program, skip_unless_ci
from http_server import UpdateServer, ok

BASE = "/download/TAVDashboard-linux/"
DEB = os.environ.get("TAV_DEB") or next(iter(sorted(glob.glob(
    os.path.join(os.path.dirname(__file__), "../../build/packages/tavdashboard_*.deb")))), "")
PACKAGE_FILES = ["/usr/bin/TAVDashboard", "/usr/share/applications/TAVDashboard.desktop",
                 "/usr/share/icons/hicolor/64x64/apps/tavdashboard.png", "/usr/share/man/man1/TAVDashboard.1.gz",
                 "/usr/share/doc/tavdashboard/copyright", "/usr/share/doc/tavdashboard/changelog.gz"]


def dpkg(*args):
    return subprocess.run(["dpkg", *args], capture_output=True, text=True)


def installed_version():
    result = subprocess.run(["dpkg-query", "-W", "-f=${Status} ${Version}", "tavdashboard"],
                            capture_output=True, text=True)
    return result.stdout.split()[-1] if result.stdout.startswith("install ok installed") else None


def repack(deb, folder, *, exe=None, version=None):
    """The package with another executable or version, built the same way dpkg-deb builds any."""
    tree = os.path.join(folder, "tree")
    shutil.rmtree(tree, ignore_errors=True)
    subprocess.run(["dpkg-deb", "-R", deb, tree], check=True)
    if exe:
        shutil.copy2(exe, os.path.join(tree, "usr/bin/TAVDashboard"))
    if version:
        control = os.path.join(tree, "DEBIAN/control")
        with open(control) as f:
            lines = [f"Version: {version}" if l.startswith("Version:") else l for l in f.read().splitlines()]
        with open(control, "w") as f:
            f.write("\n".join(lines) + "\n")
    out = os.path.join(folder, f"tavdashboard_{version or 'same'}_{os.path.basename(exe or 'real')}.deb")
    subprocess.run(["dpkg-deb", "--root-owner-group", "-b", tree, out], check=True, capture_output=True)
    return out


class InstalledProgram(Program):
    """The package's program, started from /usr/bin with its own XDG folders."""

    def __init__(self, display, root):
        self.display = display
        self.root = root
        self.folder = "/usr/bin"
        self.exe = "/usr/bin/TAVDashboard"
        self.runtime = os.path.join(root, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.config = os.path.join(root, "config")
        self.data = os.path.join(root, "data")
        self.settings = os.path.join(self.config, "TAVDashboard", "settings.ini")
        self.processes = []

    def start(self, **env):
        return super().start(XDG_DATA_HOME=self.data, **env)

    def log_path(self, index):
        return os.path.join(self.root, f"stderr-{index}.txt")

    def user_files(self):
        found = []
        for top in (self.config, self.data):
            for folder, _, names in os.walk(top):
                found += [os.path.relpath(os.path.join(folder, n), self.root) for n in names]
        return sorted(found)


@pytest.fixture
def package():
    if not DEB or not os.path.exists(DEB):
        skip_unless_ci("the Debian package has not been built (make package)")
    if os.geteuid() != 0:
        skip_unless_ci("installing a package into this machine's root needs root")
    if installed_version():
        pytest.skip("a tavdashboard package is installed here already; the test would replace it")
    work = tempfile.mkdtemp(prefix="tav-deb-")
    yield work
    dpkg("--purge", "tavdashboard")
    shutil.rmtree(work, ignore_errors=True)


@pytest.fixture
def installed(display, package):
    root = os.path.join(package, "user")
    p = InstalledProgram(display, root)
    yield p
    p.stop()


@pytest.fixture
def server():
    s = UpdateServer()
    yield s
    s.stop()


def test_the_package_installs_runs_from_usr_bin_and_is_removed_cleanly(installed):
    result = dpkg("-i", DEB)
    assert result.returncode == 0, result.stderr
    for path in PACKAGE_FILES:
        assert os.path.exists(path), path
    assert os.stat("/usr/bin/TAVDashboard").st_mode & 0o111

    proc = installed.start()
    assert installed.wait_for_dashboard(15), "the dashboard did not appear"
    with open(installed.settings, "rb") as f:
        lines = f.read().split(b"\r\n")
    assert lines[0] == b"[SETTINGS]" and len(lines) == 10 and lines[-1] == b""
    assert not os.path.exists("/usr/bin/settings.ini")
    # Starting with the session goes through the user's autostart entry of the installed path.
    assert installed.user_files() == ["config/TAVDashboard/settings.ini", "config/autostart/TAVDashboard.desktop"]
    with open(os.path.join(installed.config, "autostart", "TAVDashboard.desktop")) as f:
        assert 'Exec="/usr/bin/TAVDashboard"\n' in f.read()
    installed.stop()
    assert proc.poll() is not None

    result = dpkg("-r", "tavdashboard")
    assert result.returncode == 0, result.stderr
    assert installed_version() is None
    for path in PACKAGE_FILES:
        assert not os.path.exists(path), path
    # The user's own settings are the user's: removing the package leaves them.
    assert os.path.exists(installed.settings)


def test_the_installed_program_never_updates_itself_but_can_be_switched_off(installed, server, package):
    # The package with the loopback build, which asks the HTTP server on 127.0.0.1.
    result = dpkg("-i", repack(DEB, package, exe=LOOPBACK_EXE))
    assert result.returncode == 0, result.stderr
    program = open("/usr/bin/TAVDashboard", "rb").read()
    server.routes.update({BASE + "ifDisabled.txt": ok(""), BASE + "newVersion.txt": ok("1.0.33"),
                          BASE + "updateText.txt": ok("news"), BASE + "TAVDashboardNEW": ok(program),
                          "/download/TAVRemoteSupport-linux/TAV-Remote-SupportNEW": ok(program)})
    server.start()
    proc = installed.start()
    assert installed.wait_for_dashboard(15), "the dashboard did not appear"
    assert server.requests == [BASE + "ifDisabled.txt"]
    assert installed.traced(proc, "msgbox ") == []
    assert not os.path.exists("/usr/bin/TAVDashboardNEW")
    assert installed.user_files() == ["config/TAVDashboard/settings.ini", "config/autostart/TAVDashboard.desktop"]
    installed.stop()
    settings = open(installed.settings, "rb").read()

    # The store's switch-off still counts.
    server.requests.clear()
    server.routes.update({BASE + "ifDisabled.txt": ok("disabled"), BASE + "reasonDisabled.txt": ok("Plan ended.")})
    proc = installed.start()
    installed.answer_message_box("Return")
    assert proc.wait(5) == 0
    assert installed.traced(proc, "msgbox ") == [
        "msgbox TAVDashboard: Brantwell, Inc. has disabled this program.\\nReason being:\\n\\nPlan ended."]
    assert server.requests == [BASE + "ifDisabled.txt", BASE + "reasonDisabled.txt"]

    # An upgrade by the package manager replaces the program and keeps the user's settings.
    result = dpkg("-i", repack(DEB, package, exe=LOOPBACK_EXE, version="1.0.33"))
    assert result.returncode == 0, result.stderr
    assert installed_version() == "1.0.33"
    assert open(installed.settings, "rb").read() == settings
    server.requests.clear()
    server.routes[BASE + "ifDisabled.txt"] = ok("")
    installed.start()
    assert installed.wait_for_dashboard(15), "the upgraded program showed no dashboard"
    assert open(installed.settings, "rb").read() == settings

    installed.stop()
    result = dpkg("-r", "tavdashboard")
    assert result.returncode == 0, result.stderr
    assert not os.path.exists("/usr/bin/TAVDashboard")
