"""Fixtures for running the real Linux executable on a virtual display with a tray host."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pytest

# Helpers shared with the other platform's integration tests.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

EXE = os.environ.get("TAV_EXE", os.path.join(os.path.dirname(__file__), "../../build/TAVDashboard"))
# The same program built with the loopback constants: mail to 127.0.0.1, stand-in tools.
LOOPBACK_EXE = os.environ.get("TAV_LOOPBACK_EXE", os.path.join(os.path.dirname(EXE), "TAVDashboard-loopback"))
from build_info import window_title  # noqa: E402

TITLE = window_title(os.path.dirname(os.path.abspath(EXE)))


def wait_for(predicate, timeout=10.0, interval=0.1):
    """Polls predicate until it returns something truthy; returns that, or None on time-out."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            return None
        time.sleep(interval)


class Display:
    """An Xvfb server found by -displayfd, with trayer as notification area when available."""

    def __init__(self, with_tray=True):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        self.tray = None
        if with_tray:
            self.start_tray()

    def start_tray(self):
        if shutil.which("trayer"):
            self.tray = subprocess.Popen(
                ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32"],
                env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: self.windows("--class", "Trayer"), timeout=5)
            time.sleep(0.5)

    def env(self, **extra):
        env = dict(os.environ, DISPLAY=self.name)
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        env.update(extra)
        return env

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True)
        return result.stdout.strip()

    def windows(self, *search):
        out = self.xdotool("search", *search)
        return [int(w) for w in out.split()] if out else []

    def visible(self, *search):
        return self.windows("--onlyvisible", *search)

    def close(self):
        for proc in (self.tray, self.xvfb):
            if proc:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()


def pytest_configure(config):
    # The plain-text mail tests log in without TLS, which the SMTP library warns about each time.
    config.addinivalue_line("filterwarnings", "ignore:Requiring AUTH while not requiring TLS")


@pytest.fixture(scope="session")
def display():
    if not shutil.which("Xvfb") or not shutil.which("xdotool"):
        pytest.skip("Xvfb and xdotool are needed for the integration tests")
    d = Display()
    yield d
    d.close()


@pytest.fixture
def bare_display():
    """A virtual display without a notification area."""
    if not shutil.which("Xvfb") or not shutil.which("xdotool"):
        pytest.skip("Xvfb and xdotool are needed for the integration tests")
    d = Display(with_tray=False)
    yield d
    d.close()


def skip_unless_ci(reason):
    """Skips a test that this machine cannot run; in CI, whose set-up installs everything, fails it."""
    if os.environ.get("CI"):
        pytest.fail(reason + " (CI installs everything the tests need, so this is a failure there)")
    pytest.skip(reason)


@pytest.fixture
def tray(display):
    if not display.tray or display.tray.poll() is not None:
        skip_unless_ci("no tray host (trayer) could run on the virtual display")
    return display


class Program:
    """The executable copied alone into a temporary program folder, with its own runtime and
    config folders so that it neither sees nor disturbs a dashboard the user runs."""

    def __init__(self, display, root, exe=EXE):
        self.display = display
        self.folder = os.path.join(root, "program")
        os.makedirs(self.folder)
        self.exe = os.path.join(self.folder, "TAVDashboard")
        shutil.copy2(exe, self.exe)
        self.runtime = os.path.join(root, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.config = os.path.join(root, "config")
        self.settings = os.path.join(self.folder, "settings.ini")
        self.processes = []

    def start(self, *, as_user=None, **env):
        """Starts the program; as_user (a uid) runs it as another user, which needs root."""
        command = [self.exe]
        if as_user is not None:
            os.chmod(os.path.dirname(self.folder), 0o755)
            os.chown(self.runtime, as_user, as_user)
            command = ["setpriv", f"--reuid={as_user}", f"--regid={as_user}", "--clear-groups", self.exe]
        proc = subprocess.Popen(
            command,
            env=self.display.env(XDG_RUNTIME_DIR=self.runtime, XDG_CONFIG_HOME=self.config, LC_ALL="C.UTF-8",
                                 TAV_TRACE="1", **env),
            stdout=subprocess.DEVNULL, stderr=open(self.log_path(len(self.processes)), "w"))
        self.processes.append(proc)
        return proc

    def log_path(self, index):
        return os.path.join(os.path.dirname(self.folder), f"stderr-{index}.txt")

    def log(self, proc):
        """What the process has written to stderr so far."""
        with open(self.log_path(self.processes.index(proc))) as f:
            return f.read()

    def dashboard_windows(self):
        return self.display.visible("--name", "^" + TITLE.replace(".", "\\.") + "$")

    def wait_for_dashboard(self, timeout=10):
        return wait_for(self.dashboard_windows, timeout)

    def visible_windows(self):
        """The program's visible windows, with their names."""
        return {w: self.display.xdotool("getwindowname", str(w))
                for w in self.display.visible("--classname", "TAVDashboard")}

    def tray_icons(self):
        """Visible windows named after the program; while no menu is open, those are tray icons."""
        return [w for w, name in self.visible_windows().items() if name == "TAVDashboard"]

    def popups(self, icons):
        """Visible windows that are neither the dashboard nor the given tray icons: menus, message boxes."""
        return [w for w, name in self.visible_windows().items() if name != TITLE and w not in icons]

    def message_boxes(self, title="TAVDashboard"):
        """Visible message boxes: windows with the title (the application's unless another is
        given) that are larger than a tray icon."""
        boxes = []
        for w, name in self.visible_windows().items():
            if name != title:
                continue
            geometry = self.display.xdotool("getwindowgeometry", str(w))
            size = geometry.split("Geometry: ")[-1].split("x") if "Geometry: " in geometry else ["0", "0"]
            if int(size[0]) > 100:
                boxes.append(w)
        return boxes

    def answer_message_box(self, key="Return", timeout=10, title="TAVDashboard"):
        """Waits for a message box and answers it with a key (Return: its default button)."""
        box = wait_for(lambda: self.message_boxes(title), timeout)
        assert box, "no message box appeared"
        # A box just mapped may not take keys yet: press again while it stays.
        for _ in range(5):
            time.sleep(0.3)
            self.display.xdotool("windowfocus", "--sync", str(box[0]))
            # Through XTEST to the focused box, never with --window: xdotool sends the release
            # to the named window, and when the box has closed on the press by then, the server
            # keeps the key down and repeats it into whatever window comes next.
            self.display.xdotool("key", key)
            if wait_for(lambda: box[0] not in self.message_boxes(title), 1.5):
                return
        raise AssertionError("the message box stayed open")

    def click(self, window, x_twips, y_twips, button=1):
        """Clicks a point of a window given in twips (15 to a pixel on the virtual display)."""
        # The pointer first leaves the point, so that the window sees it arrive (a pointer left
        # there by an earlier test sends no motion to a new window under it), then settles.
        x, y = str(round(x_twips / 15)), str(round(y_twips / 15))
        self.display.xdotool("mousemove", "0", "0")
        self.display.xdotool("mousemove", "--window", str(window), x, y)
        time.sleep(0.2)
        self.display.xdotool("click", str(button))

    def traced(self, proc, prefix):
        """The lines the program traced that start with prefix, without the program's name."""
        return [l[len("TAVDashboard: "):] for l in self.log(proc).splitlines()
                if l.startswith("TAVDashboard: " + prefix)]

    def write_settings(self, lines):
        with open(self.settings, "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode())

    def read_settings(self):
        with open(self.settings, "rb") as f:
            return f.read().decode()

    def stop(self):
        for proc in self.processes:
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()


def program_on(display, exe=EXE, root=None):
    root = root or tempfile.mkdtemp(prefix="tav-it-")
    p = Program(display, root, exe)
    yield p
    p.stop()
    shutil.rmtree(root, ignore_errors=True)


@pytest.fixture
def program(display):
    yield from program_on(display)


@pytest.fixture
def bare_program(bare_display):
    yield from program_on(bare_display)


@pytest.fixture
def loopback_program(display):
    """The loopback build, in a program folder whose path has spaces."""
    root = tempfile.mkdtemp(prefix="tav it ")
    yield from program_on(display, LOOPBACK_EXE, root)
