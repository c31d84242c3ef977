"""Start-up, single instance, hiding and quitting of the real TAVDashboard.exe under Wine."""
import datetime
import os
import subprocess

from conftest import TITLE, click, probe, rect, wait_for


def us_date(d):
    return f"{d.month}/{d.day}/{d.year}"


def settings_for(day):
    return ("[SETTINGS]\r\n"
            f"Last Store Visit = {us_date(day)}\r\n"
            f"Remind Me Date = {us_date(day + datetime.timedelta(days=182))}\r\n"
            "Remind Me In = 0\r\n"
            "Start With Windows = 1\r\n"
            "Minimize on Startup = 0\r\n"
            "\r\n"
            "[COMPANY INFO]\r\n"
            "\r\n")


def test_first_start_writes_settings_and_shows_the_dashboard_with_its_hidden_application_window(program):
    before = datetime.date.today()
    program.start()
    assert program.wait_dashboard(), "the dashboard window did not show"
    after = datetime.date.today()
    path = os.path.join(program.folder, "settings.ini")
    assert wait_for(lambda: os.path.isfile(path))
    with open(path, "rb") as f:
        text = f.read().decode("ascii")
    assert text in {settings_for(before), settings_for(after)}

    found, app_window, _ = probe("find", "ThunderRT6Main", "TAVDashboard")
    assert found
    assert app_window["visible"] == "0"
    _, dashboard, _ = program.dashboard()
    assert app_window["pid"] == dashboard["pid"]
    # The window just above the hidden application window is the dashboard.
    _, above, _ = probe("above", "ThunderRT6Main", "TAVDashboard")
    assert above.get("title") == TITLE
    # task.xml and maketask.vbs were not beside the copied program: nothing else was written.
    assert sorted(os.listdir(program.folder)) == ["TAVDashboard.exe", "settings.ini"]


def test_a_second_start_ends_and_restores_the_first_instance(program):
    program.start()
    assert program.wait_dashboard()
    found, info, _ = probe("minimize", TITLE)
    assert found
    assert wait_for(lambda: probe("window", TITLE)[1].get("iconic") == "1")

    second = program.start()
    assert second.wait(timeout=20) == 0
    assert program.proc.poll() is None, "the first instance must keep running"
    # The first instance's dashboard is back: restored and visible.
    assert wait_for(lambda: probe("window", TITLE)[1].get("iconic") == "0")
    assert probe("window", TITLE)[1].get("visible") == "1"
    # The second one left nothing behind: no renamed application window.
    assert not probe("find", "ThunderRT6Main", "unwanted instance")[0]
    window_ids = subprocess.run(["xdotool", "search", "--name", "^" + TITLE + "$"], capture_output=True,
                                text=True).stdout.split()
    assert len(window_ids) == 1


def test_exit_button_hides_the_dashboard_and_a_tray_click_brings_it_back(program, tray):
    program.start()
    assert program.wait_dashboard()
    found, button, _ = probe("child", TITLE, "Exit")
    assert found
    left, top, right, bottom = rect(button)
    click((left + right) // 2, (top + bottom) // 2)
    assert program.wait_dashboard(visible=False), "the Exit button did not hide the dashboard"
    assert program.proc.poll() is None, "the Exit button must not end the program"

    x, y = tray()
    click(x, y)
    assert program.wait_dashboard(visible=True), "a left click on the tray icon did not show the dashboard"


def test_tray_menu_has_eight_items_and_its_exit_quits_and_removes_the_icon(program, tray):
    program.start()
    assert program.wait_dashboard()
    x, y = tray()
    click(x, y, button=3)
    assert wait_for(lambda: probe("menu")[0]), "a right click on the tray icon opened no menu"
    found, menu, lines = probe("menu")
    # Wine does not let another process read a menu's items: the program reports what it offered.
    assert [l for l in program.log().splitlines() if "menu Menu:" in l] == [
        "TAVDashboard: menu Menu: Show Dashboard|-|Contact TAV|Connect to Tech|Launch Tools|Schedule Appt|-|Exit"]
    left, top, right, bottom = rect(menu)
    assert bottom - top > 6 * 12, "the menu is too small to hold eight items"
    # "Exit" is the last item.
    click(left + 30, bottom - 10)
    assert program.proc.wait(timeout=20) == 0
    assert wait_for(lambda: not probe("find", "ThunderRT6Main", "TAVDashboard")[0])
    # The icon went with the program: Wine hides its tray window when no icon is left.
    assert wait_for(lambda: probe("window", "Wine System Tray")[1].get("visible") != "1", timeout=10)
