"""The real TAVDashboard.exe under Wine on a virtual display.

scripts/windows.sh runs these tests inside xvfb-run with WINEPREFIX, WINEDEBUG and
WINEDLLOVERRIDES set and a persistent wineserver; TAV_WIN64 names the build folder.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pytest

# Helpers shared with the other platform's integration tests.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

BUILD = os.environ.get("TAV_WIN64", "")
from build_info import window_title  # noqa: E402

TITLE = window_title(BUILD) if BUILD else ""
TRAY_TITLE = "Wine System Tray"


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    env["LANG"] = env["LC_ALL"] = "en_US.UTF-8"  # US short dates: 7/19/2017
    return env


def wait_for(condition, timeout=15.0, step=0.1):
    """Polls a condition until it holds or the time is up; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(step)


def probe(*args):
    """Runs the window probe under Wine: (found, first line as a dict, all lines)."""
    # Output through a file, not a pipe: a program that Wine starts on the side (explorer)
    # inherits the output and keeps a pipe open long after the probe ended.
    with tempfile.TemporaryFile(mode="w+") as output:
        out = subprocess.run(["wine", os.path.join(BUILD, "tav_window_probe.exe"), *args], env=wine_env(),
                             stdout=output, stderr=subprocess.DEVNULL, timeout=30)
        output.seek(0)
        lines = [l.strip() for l in output.read().splitlines() if l.strip()]
    info = {}
    if lines:
        for part in lines[0].split(" "):
            if "=" in part:
                k, v = part.split("=", 1)
                info[k] = v
        if "title=" in lines[0]:
            info["title"] = lines[0].split("title=", 1)[1]
    return out.returncode == 0, info, lines


def rect(info):
    return tuple(int(v) for v in info["rect"].split(","))


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=10)


def click(x, y, button=1):
    xdotool("mousemove", str(x), str(y))
    time.sleep(0.2)
    xdotool("click", str(button))


class Program:
    """One run of the real executable from its own program folder."""

    def __init__(self, folder):
        self.folder = folder
        self.exe = os.path.join(folder, "TAVDashboard.exe")
        self.proc = None

    def start(self):
        # TAV_TRACE: the program reports its label captions and menus on stderr, into a file.
        # Beside the program folder, which holds only what the program writes there.
        self.log_path = self.folder + ".stderr.txt"
        proc = subprocess.Popen(["wine", self.exe], cwd=self.folder, env=dict(wine_env(), TAV_TRACE="1"),
                                stdout=subprocess.DEVNULL, stderr=open(self.log_path, "a"))
        if self.proc is None:
            self.proc = proc
        return proc

    def log(self):
        """What the program has written to stderr so far."""
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def dashboard(self):
        return probe("window", TITLE)

    def wait_dashboard(self, visible=True):
        def check():
            found, info, _ = self.dashboard()
            return found and info.get("visible") == ("1" if visible else "0")
        return wait_for(check)

    def traced(self, prefix):
        """The lines the program traced that start with prefix, without the program's name."""
        return [l[len("TAVDashboard: "):] for l in self.log().splitlines() if l.startswith("TAVDashboard: " + prefix)]

    def click(self, title, x, y, w, h, button=1):
        """Clicks the centre of a design rectangle (twips) in the client area of a window."""
        # Under Wine a lookup can miss a window that a lookup a moment before found (while the
        # program reshapes its windows): look again for a few seconds before calling it absent.
        def lookup():
            ok, info, _ = probe("client", title)
            return info if ok else None
        client = wait_for(lookup, 5, 0.25)
        assert client, f"no window {title!r}"
        left, top, _, _ = rect(client)
        click(left + round((x + w / 2) / 15), top + round((y + h / 2) / 15), button)

    def answer_message_box(self, button="OK", timeout=15, title="TAVDashboard"):
        """Presses a button of the program's message box (its caption is the application title
        unless another is given)."""
        box = wait_for(lambda: probe("find", "#32770", title)[1].get("hwnd"), timeout)
        assert box, "no message box appeared"
        assert probe("press", "#32770", title, button)[0], f"the message box has no {button} button"
        # The next message box may follow at once: this one is gone when another or none is found.
        assert wait_for(lambda: probe("find", "#32770", title)[1].get("hwnd") != box, 5), \
            "the message box stayed open"

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)


@pytest.fixture(scope="session", autouse=True)
def environment():
    if not BUILD or not os.path.isfile(os.path.join(BUILD, "TAVDashboard.exe")):
        pytest.skip("TAV_WIN64 does not name a build folder with TAVDashboard.exe")
    if not os.environ.get("DISPLAY"):
        pytest.skip("no X display: run through scripts/windows.sh test")
    if not os.environ.get("WINEPREFIX"):
        pytest.skip("WINEPREFIX is not set: run through scripts/windows.sh test")


@pytest.fixture
def program():
    folder = tempfile.mkdtemp(prefix="tav-wine-")
    shutil.copy(os.path.join(BUILD, "TAVDashboard.exe"), folder)
    p = Program(folder)
    yield p
    p.stop()
    # No program of a test may outlive it: the next test starts as a first instance.
    wait_for(lambda: not probe("find", "ThunderRT6Main", "TAVDashboard")[0], timeout=10)
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(folder + ".stderr.txt"):
        os.remove(folder + ".stderr.txt")


@pytest.fixture
def loopback_program():
    """The loopback build (mail to 127.0.0.1, stand-in tools) as TAVDashboard.exe, in a program
    folder whose path has spaces."""
    folder = tempfile.mkdtemp(prefix="tav wine ")
    shutil.copy(os.path.join(BUILD, "TAVDashboard-loopback.exe"), os.path.join(folder, "TAVDashboard.exe"))
    p = Program(folder)
    yield p
    p.stop()
    wait_for(lambda: not probe("find", "ThunderRT6Main", "TAVDashboard")[0], timeout=10)
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(folder + ".stderr.txt"):
        os.remove(folder + ".stderr.txt")


def pytest_configure(config):
    # The plain-text mail tests log in without TLS, which the SMTP library warns about each time.
    config.addinivalue_line("filterwarnings", "ignore:Requiring AUTH while not requiring TLS")


def tray_icon_center():
    """The first icon of Wine's tray window, or None when no tray window shows an icon."""
    found, info, _ = probe("window", TRAY_TITLE)
    if not found or info.get("visible") != "1":
        return None
    ok, client, _ = probe("client", TRAY_TITLE)
    if not ok:
        return None
    left, top, right, bottom = rect(client)
    if right - left < 8 or bottom - top < 8:
        return None
    size = bottom - top
    return left + size // 2, top + size // 2


@pytest.fixture
def tray():
    """The tray icon of the running program; skips where Wine shows no tray window."""
    def get():
        center = wait_for(tray_icon_center, timeout=10)
        if center is None:
            reason = "no Wine System Tray window on this display: tray tests cannot run here"
            if os.environ.get("CI"):
                pytest.fail(reason + " (CI runs them under Wine's desktop, which always has one)")
            pytest.skip(reason)
        return center
    return get
