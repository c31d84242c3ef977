"""Kill test of the settings file: starts the real Linux program in a temporary program folder
again and again and kills it with SIGKILL at a random moment of its start, while it reads and
rewrites settings.ini. After every kill the file must be missing (only before any start has
written it) or a complete, valid nine-line file; and the temporary files that killed writers
leave behind must be gone after one more start.

    kill_settings.py EXE [RUNS] [WINDOW_MS]

WINDOW_MS (default: 50, widened to cover the moment of the rewrite measured on this machine)
bounds the kill moments. Prints what it saw; exits 1 on the first broken file."""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

LINES = [re.compile(p) for p in (
    r"\[SETTINGS\]", r"Last Store Visit = \d{1,2}/\d{1,2}/\d{4}", r"Remind Me Date = \d{1,2}/\d{1,2}/\d{4}",
    r"Remind Me In = -?\d+", r"Start With Windows = [01]", r"Minimize on Startup = [01]", r"",
    r"\[COMPANY INFO\]", r"")]


def valid(data):
    if not data.endswith(b"\r\n"):
        return False
    lines = data[:-2].split(b"\r\n")
    return len(lines) == len(LINES) and all(p.fullmatch(l.decode("ascii", "replace")) for p, l in zip(LINES, lines))


class Folder:
    def __init__(self, exe):
        self.root = tempfile.mkdtemp(prefix="tav-kill-")
        self.folder = os.path.join(self.root, "program")
        os.makedirs(self.folder)
        self.exe = os.path.join(self.folder, "TAVDashboard")
        shutil.copy2(exe, self.exe)
        self.settings = os.path.join(self.folder, "settings.ini")
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700)
        # No display needed: the offscreen platform; C dates, so the file's dates read back.
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime, LC_ALL="C.UTF-8",
                        XDG_CONFIG_HOME=os.path.join(self.root, "config"))
        self.env.pop("DISPLAY", None)

    def start(self):
        return subprocess.Popen([self.exe], cwd=self.folder, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def temporaries(self):
        return sorted(n for n in os.listdir(self.folder) if n.startswith("settings.ini.tmp"))

    def identity(self):
        try:
            st = os.stat(self.settings)
            return (st.st_ino, st.st_mtime_ns)
        except FileNotFoundError:
            return None

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


def rewrite_moment(folder, starts=5):
    """Milliseconds from exec to the rewrite of settings.ini, in a few measured starts."""
    moments = []
    for _ in range(starts):
        before = folder.identity()
        began = time.monotonic()
        proc = folder.start()
        while time.monotonic() - began < 5 and folder.identity() == before:
            time.sleep(0.0002)
        moments.append((time.monotonic() - began) * 1000)
        proc.kill()
        proc.wait()
    return sorted(moments)


def main():
    exe = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    window = float(sys.argv[3]) if len(sys.argv) > 3 else None
    folder = Folder(exe)
    try:
        moments = rewrite_moment(folder)
        print("rewrite of settings.ini after start: %s ms" % ", ".join("%.1f" % m for m in moments))
        if window is None:
            window = max(50.0, moments[-1] * 1.5)
        print("kill moments: 0 to %.0f ms after start, %d runs" % (window, runs))
        os.remove(folder.settings)
        existed = False
        rewrites = left_temporary = 0
        for run in range(runs):
            before = folder.identity()
            proc = folder.start()
            time.sleep(random.uniform(0, window) / 1000)
            proc.send_signal(signal.SIGKILL)
            proc.wait()
            try:
                with open(folder.settings, "rb") as f:
                    data = f.read()
            except FileNotFoundError:
                data = None
            if data is None and existed:
                print("run %d: settings.ini is gone after a kill" % run)
                return 1
            if data is not None and not valid(data):
                print("run %d: settings.ini is broken after a kill: %r" % (run, data))
                return 1
            existed = existed or data is not None
            rewrites += folder.identity() != before
            left_temporary += bool(folder.temporaries())
        print("runs: %d, of which the file was rewritten before the kill: %d, a temporary file was "
              "left by the kill: %d" % (runs, rewrites, left_temporary))
        # One more start that runs to its end cleans up after every killed writer.
        proc = folder.start()
        before = folder.identity()
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and folder.identity() == before:
            time.sleep(0.01)
        time.sleep(0.5)
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        left = folder.temporaries()
        with open(folder.settings, "rb") as f:
            final_ok = valid(f.read())
        print("after one more start: temporary files left: %d, settings.ini valid: %s" % (len(left), final_ok))
        return 0 if not left and final_ok else 1
    finally:
        folder.close()


if __name__ == "__main__":
    sys.exit(main())
