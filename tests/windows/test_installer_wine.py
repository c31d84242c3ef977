"""The Windows installer under Wine, in a Wine prefix of its own, made fresh for these tests: a
silent install into the user's own folder, the installed program running from there, an install
over a running copy that keeps settings.ini, the uninstaller, and the interactive install that
starts the program on its last page (with screenshots of the pages)."""
import glob
import os
import shutil
import subprocess
import tempfile
import time

import pytest

from conftest import BUILD, TITLE, Program, probe, wait_for, wine_env

INSTALLER = os.environ.get("TAV_INSTALLER") or next(iter(glob.glob(os.path.join(BUILD, "packages", "*-setup.exe"))), "")
SETUP_TITLE = "TAV Dashboard Setup"
# The installer's title on its last page: the caption with an empty page subcaption after a blank.
FINISHED_TITLE = "TAV Dashboard Setup "
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TAVDashboard"
INSTALLED = ["PROGRAMS/TAV-Remote-Support.exe", "TAVDashboard.exe", "Uninstall.exe", "maketask.vbs", "task.xml"]


def display_version():
    # "TAV Dashboard v1.0.32" -> "1.0.32"
    return TITLE.rsplit("v", 1)[-1]


class Prefix:
    """A new Wine prefix; while it lives, every Wine program of these tests runs in it."""

    def __init__(self):
        self.path = tempfile.mkdtemp(prefix="tav-install-prefix-")
        self.saved = os.environ.get("WINEPREFIX")
        os.environ["WINEPREFIX"] = self.path
        # No menu entries on the host's desktop for the shortcut the installer makes.
        os.environ["WINEDLLOVERRIDES"] = "mscoree,mshtml,winemenubuilder.exe="
        subprocess.run(["wineboot", "-i"], env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=300)
        # The first session of a new prefix keeps the service database locked until it ends; and
        # Wine's task scheduler service starts on demand only (on Windows it always runs), without
        # which SCHTASKS fails. So: a new session, with the scheduler running as on Windows.
        subprocess.run(["wineserver", "-k"], env=wine_env(), timeout=60)
        subprocess.run(["wine", "net", "start", "Schedule"], env=wine_env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)

    def user_folder(self, *parts):
        users = [u for u in glob.glob(os.path.join(self.path, "drive_c", "users", "*")) if not u.endswith("Public")]
        return os.path.join(users[0], *parts)

    def program_folder(self):
        return self.user_folder("AppData", "Local", "Programs", "TAV Dashboard")

    def shortcut(self):
        return self.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                                "TAV Dashboard.lnk")

    def task_file(self):
        return os.path.join(self.path, "drive_c", "windows", "system32", "tasks", "TAV Dashboard")

    def files(self):
        found = []
        for root, _, names in os.walk(self.program_folder()):
            found += [os.path.relpath(os.path.join(root, n), self.program_folder()) for n in names]
        return sorted(found)

    def uninstall_entry(self):
        out = subprocess.run(["wine", "reg", "query", UNINSTALL_KEY], env=wine_env(), capture_output=True,
                             text=True, timeout=60).stdout
        entry = {}
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) == 3 and parts[1].startswith("REG_"):
                entry[parts[0]] = parts[2]
        return entry

    def close(self):
        subprocess.run(["wineserver", "-k"], env=wine_env(), timeout=60)
        if self.saved is None:
            os.environ.pop("WINEPREFIX", None)
        else:
            os.environ["WINEPREFIX"] = self.saved
        os.environ["WINEDLLOVERRIDES"] = "mscoree,mshtml="
        shutil.rmtree(self.path, ignore_errors=True)


@pytest.fixture(scope="module")
def prefix():
    if not INSTALLER or not os.path.isfile(INSTALLER):
        if os.environ.get("CI"):
            pytest.fail("the installer has not been built (make package)")
        pytest.skip("the installer has not been built (make package)")
    p = Prefix()
    yield p
    p.close()


def run_installer(*args):
    result = subprocess.run(["wine", INSTALLER, *args], env=wine_env(), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, timeout=120)
    assert result.returncode == 0


def screenshot(name):
    subprocess.run(["import", "-window", "root", os.path.join(BUILD, name)], timeout=30)


# The tests below run in order and share the prefix: each starts from what the one before left.

def test_a_silent_install_puts_the_program_in_the_users_own_folder(prefix):
    run_installer("/S")
    assert prefix.files() == INSTALLED
    with open(os.path.join(prefix.program_folder(), "TAVDashboard.exe"), "rb") as f, \
            open(os.path.join(BUILD, "TAVDashboard.exe"), "rb") as built:
        assert f.read() == built.read()
    assert os.path.isfile(prefix.shortcut())
    entry = prefix.uninstall_entry()
    assert entry["DisplayName"] == "TAV Dashboard"
    assert entry["DisplayVersion"] == display_version()
    assert entry["Publisher"] == "Brantwell, Inc"
    assert entry["DisplayIcon"].endswith(r"\TAV Dashboard\TAVDashboard.exe,0")
    assert entry["QuietUninstallString"].endswith(r'\TAV Dashboard\Uninstall.exe" /S')
    # Nothing under Program Files: the client must be able to write the program folder.
    assert not glob.glob(os.path.join(prefix.path, "drive_c", "Program Files*", "TAV*"))


@pytest.fixture(scope="module")
def installed_program(prefix):
    p = Program(prefix.program_folder())
    yield p
    p.stop()


def test_the_installed_program_runs_from_there_and_keeps_its_settings_there(prefix, installed_program):
    installed_program.start()
    assert installed_program.wait_dashboard(), "the installed program showed no dashboard"
    settings = os.path.join(prefix.program_folder(), "settings.ini")
    assert wait_for(lambda: os.path.exists(settings), 10)
    with open(settings, "rb") as f:
        assert f.read().startswith(b"[SETTINGS]\r\nLast Store Visit = ")
    # Started in its folder, it registered its logon task from the task.xml there (Wine keeps
    # the task as a file and never runs it).
    assert wait_for(lambda: os.path.exists(prefix.task_file()), 20), "no logon task was registered"


def test_installing_over_a_running_copy_ends_it_and_keeps_the_settings(prefix, installed_program):
    settings = os.path.join(prefix.program_folder(), "settings.ini")
    kept = (b"[SETTINGS]\r\nLast Store Visit = 7/4/2016\r\nRemind Me Date = 1/2/2017\r\nRemind Me In = 0\r\n"
            b"Start With Windows = 1\r\nMinimize on Startup = 0\r\n\r\n[COMPANY INFO]\r\n\r\n")
    with open(settings, "wb") as f:
        f.write(kept)
    support = os.path.join(prefix.program_folder(), "PROGRAMS", "TAV-Remote-Support.exe")
    with open(support, "wb") as f:
        f.write(b"MZ the store's own support program, put there by the self-update")
    assert installed_program.proc.poll() is None
    run_installer("/S")
    assert wait_for(lambda: installed_program.proc.poll() is not None, 15), "the running program was not ended"
    with open(settings, "rb") as f:
        assert f.read() == kept
    # The placeholder never replaces a support program that is there already.
    with open(support, "rb") as f:
        assert f.read().startswith(b"MZ the store's own")
    assert prefix.files() == sorted(INSTALLED + ["settings.ini"])


def test_the_uninstaller_removes_the_files_the_shortcut_the_entry_and_the_task(prefix, installed_program):
    installed_program.proc = None
    installed_program.start()
    assert installed_program.wait_dashboard(), "the program did not start again"
    uninstaller = os.path.join(prefix.program_folder(), "Uninstall.exe")
    subprocess.run(["wine", uninstaller, "/S"], env=wine_env(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)
    # The uninstaller runs on from a copy of itself in the temporary folder.
    assert wait_for(lambda: not os.path.exists(prefix.program_folder()), 30), prefix.files()
    assert wait_for(lambda: installed_program.proc.poll() is not None, 10), "the running program was not ended"
    assert not os.path.exists(prefix.shortcut())
    assert prefix.uninstall_entry() == {}
    assert not os.path.exists(prefix.task_file()), "the logon task is still registered"


def test_the_interactive_install_starts_the_program_on_its_last_page(prefix):
    installer = subprocess.Popen(["wine", INSTALLER], env=wine_env(), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
    program = Program(prefix.program_folder())
    try:
        assert wait_for(lambda: probe("button", "#32770", SETUP_TITLE, "&Install")[0], 30), "no welcome page"
        time.sleep(1)
        screenshot("installer-welcome-wine.png")
        assert probe("press", "#32770", SETUP_TITLE, "&Install")[0]
        assert wait_for(lambda: probe("button", "#32770", FINISHED_TITLE, "&Finish")[0], 60), "no finish page"
        time.sleep(1)
        screenshot("installer-finish-wine.png")
        assert probe("press", "#32770", FINISHED_TITLE, "&Finish")[0]
        installer.wait(30)
        assert program.wait_dashboard(), "the program did not start when the installer finished"
        time.sleep(2)
        screenshot("installer-started-wine.png")
        assert prefix.files() == sorted(INSTALLED + ["settings.ini"])
    finally:
        if installer.poll() is None:
            installer.kill()
        subprocess.run(["wine", os.path.join(prefix.program_folder(), "Uninstall.exe"), "/S"], env=wine_env(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        wait_for(lambda: not os.path.exists(prefix.program_folder()), 30)
