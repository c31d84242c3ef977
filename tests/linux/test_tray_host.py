"""The real Linux executable on a display whose notification area is late or missing."""
import shutil
import subprocess
import time

import pytest

from conftest import wait_for


def dashboard(program):
    found = program.display.windows("--name", "^TAV Dashboard v1")
    return found[0] if found else None


def window_state(display, window):
    """'shown' (mapped), 'iconic' (minimised to the task bar) or 'hidden'."""
    info = subprocess.run(["xwininfo", "-id", str(window)], env=display.env(), capture_output=True, text=True).stdout
    if "IsViewable" in info:
        return "shown"
    state = subprocess.run(["xprop", "-id", str(window), "WM_STATE"], env=display.env(), capture_output=True,
                           text=True).stdout
    return "iconic" if "Iconic" in state else "hidden"


def test_icon_appears_when_the_tray_host_starts_late(bare_program):
    if not shutil.which("trayer"):
        pytest.skip("trayer is needed to start a late notification area")
    proc = bare_program.start()
    assert bare_program.wait_for_dashboard()
    time.sleep(2)
    bare_program.display.start_tray()
    assert wait_for(bare_program.tray_icons, 8), "the icon did not appear once the tray host was up"
    assert proc.poll() is None


def test_without_a_tray_host_a_hidden_dashboard_stays_reachable(bare_program):
    bare_program.write_settings(["Start With Windows = 0", "Minimize on Startup = 1"])
    proc = bare_program.start()
    window = wait_for(lambda: dashboard(bare_program), 10)
    assert window
    # Hidden while the program waits for a notification area ...
    assert window_state(bare_program.display, window) == "hidden"
    # ... and on the task bar once it is clear that none will come.
    assert wait_for(lambda: window_state(bare_program.display, window) != "hidden", 20), \
        "the dashboard stayed hidden with no tray icon to bring it back"
    proc.terminate()
    proc.wait(5)
    assert "no notification area" in bare_program.log(proc)
