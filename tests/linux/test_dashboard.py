"""The real Linux executable on a virtual display: settings file, window, single instance, tray."""
import datetime
import os
import subprocess
import time

import pytest

from conftest import wait_for


def today_text(days=0):
    d = datetime.date.today() + datetime.timedelta(days=days)
    return f"{d.month}/{d.day}/{d.year}"


def canonical(last, remind, remind_in, sww, mos):
    return (f"[SETTINGS]\r\nLast Store Visit = {last}\r\nRemind Me Date = {remind}\r\nRemind Me In = {remind_in}\r\n"
            f"Start With Windows = {sww}\r\nMinimize on Startup = {mos}\r\n\r\n[COMPANY INFO]\r\n\r\n")


def test_first_start_creates_settings_and_shows_the_titled_dashboard(program):
    proc = program.start()
    assert program.wait_for_dashboard(), "the dashboard window did not appear"
    assert program.read_settings() == canonical(today_text(), today_text(182), 0, 1, 0)
    # Start With Windows is on by default: the autostart entry points at this executable.
    with open(os.path.join(program.config, "autostart", "TAVDashboard.desktop")) as f:
        assert f'Exec="{program.exe}"' in f.read()
    assert proc.poll() is None


# What the program makes of a settings file, seen from outside: the file afterwards, whether
# the dashboard shows (Minimize on Startup) or stays in the tray, and whether it registers
# itself to start with the session (Start With Windows).
SETTINGS_CASES = [
    pytest.param(["[SETTINGS]", "Last Store Visit = 7/19/2017", "Remind Me Date = 1/17/2018", "Remind Me In = 7",
                  "Start With Windows = 0", "Minimize on Startup = 0", "", "[COMPANY INFO]", "Phone = 1"],
                 canonical("7/19/2017", "1/17/2018", 7, 0, 0), True, False, id="extra-keys-dropped"),
    pytest.param(["Last Store Visit = 07/04/2016", "Minimize on Startup = 0"],
                 canonical("7/4/2016", "12/30/1899", 0, 1, 1), False, True, id="no-start-with-windows-line-hides"),
    pytest.param(["Last Store Visit = 7/19/2017", "Remind Me In = soon", "Start With Windows = 0",
                  "Minimize on Startup = 0"], None, True, False, id="bad-number-stops-reading"),
    pytest.param(["Remind Me In = 1", "Start With Windows = 0", "Minimize on Startup = 1", "Minimize on Startup = 0"],
                 canonical("12/30/1899", "12/30/1899", 1, 0, 0), True, False, id="later-key-wins"),
]


@pytest.mark.parametrize("lines, afterwards, shown, autostart", SETTINGS_CASES)
def test_settings_file_rules(program, lines, afterwards, shown, autostart):
    program.write_settings(lines)
    before = program.read_settings()
    proc = program.start()
    if shown:
        assert program.wait_for_dashboard(), "the dashboard window did not appear"
    else:
        # Give start-up time to finish, then make sure nothing was shown.
        assert wait_for(lambda: program.display.windows("--name", "^TAV Dashboard v1"), 10)
        time.sleep(1)
        assert not program.dashboard_windows()
    assert program.read_settings() == (afterwards if afterwards is not None else before)
    assert os.path.exists(os.path.join(program.config, "autostart", "TAVDashboard.desktop")) == autostart
    assert [f for f in os.listdir(program.folder) if f != "TAVDashboard"] == ["settings.ini"]
    assert proc.poll() is None


def test_read_only_program_folder_keeps_the_settings_in_memory(program):
    os.chmod(program.folder, 0o555)
    try:
        # Root may write anywhere: run as an ordinary user then.
        program.start(as_user=65534 if os.geteuid() == 0 else None)
        assert program.wait_for_dashboard(), "the dashboard did not appear"
        assert not os.path.exists(program.settings)
    finally:
        os.chmod(program.folder, 0o755)


def test_second_start_ends_and_leaves_one_dashboard(tray, program):
    first = program.start()
    assert program.wait_for_dashboard()
    icons = wait_for(program.tray_icons, 10)
    assert icons, "no tray icon appeared"

    second = program.start()
    second.wait(timeout=5)
    assert second.returncode == 0
    assert len(program.dashboard_windows()) == 1
    assert program.tray_icons() == icons
    assert first.poll() is None


def test_second_start_leaves_a_dashboard_hidden_in_the_tray_hidden(program):
    program.write_settings(["Start With Windows = 0", "Minimize on Startup = 1"])
    first = program.start()
    assert wait_for(lambda: program.display.windows("--name", "^TAV Dashboard v1"), 10)
    second = program.start()
    second.wait(timeout=5)
    time.sleep(0.5)
    assert not program.dashboard_windows()
    assert first.poll() is None


def right_click_tray_menu(program, icon):
    program.display.xdotool("mousemove", "--window", str(icon), "5", "5", "click", "3")
    menu = wait_for(lambda: program.popups([icon]), 5)
    # The menu's window is mapped a moment before it grabs the keyboard.
    time.sleep(0.5)
    return menu


def test_tray_menu_offers_eight_items_and_exit_quits(tray, program):
    proc = program.start()
    assert program.wait_for_dashboard()
    icons = wait_for(program.tray_icons, 10)
    assert icons, "no tray icon appeared"

    assert right_click_tray_menu(program, icons[0]), "the tray menu did not open"
    program.display.xdotool("key", "Up", "Return")  # the last item: Exit
    proc.wait(timeout=5)
    assert proc.returncode == 0
    menu_lines = [l for l in program.log(proc).splitlines() if "menu Menu:" in l]
    assert menu_lines == ["TAVDashboard: menu Menu: Show Dashboard|-|Contact TAV|Connect to Tech|Launch Tools|"
                          "Schedule Appt|-|Exit"]
    assert wait_for(lambda: not program.tray_icons(), 5), "the tray icon stayed after Exit"


def test_exit_button_hides_and_a_tray_click_brings_the_dashboard_back(tray, program):
    proc = program.start()
    window = program.wait_for_dashboard()
    assert window
    icons = wait_for(program.tray_icons, 10)
    assert icons

    # The Exit button: 240, 5010, 3045 x 705 twips, at 15 twips per pixel.
    program.display.xdotool("mousemove", "--window", str(window[0]), "117", "357", "click", "1")
    assert wait_for(lambda: not program.dashboard_windows(), 5), "Exit did not hide the dashboard"
    assert proc.poll() is None
    assert program.tray_icons() == icons

    program.display.xdotool("mousemove", "--window", str(window[0]), "5", "5")  # the pointer away from it
    program.display.xdotool("mousemove", "--window", str(icons[0]), "5", "5", "click", "1")
    assert wait_for(program.dashboard_windows, 5), "a click on the tray icon did not show the dashboard"
    # ... and brought it to the front with the focus.
    assert wait_for(lambda: program.display.xdotool("getwindowfocus") == str(window[0]), 5), \
        "the dashboard shown by a tray click did not get the focus"
