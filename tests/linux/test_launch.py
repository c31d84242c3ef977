"""Starting the remote-support program and the tools from the real Linux program (loopback build,
whose tools are looked for in /tmp/tav-test-tools)."""
import os
import shutil
import stat

import pytest

from conftest import wait_for

TOOLS = "/tmp/tav-test-tools"
QUESTION = ("msgbox TAVDashboard: You must contact us before requesting remote assistance.  "
            "Have you already done so?")


def write_stub(path):
    """A stand-in program: writes "<its path>.ran" with its arguments."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write('#!/bin/sh\necho "$@" > "$0.ran"\n')
    os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)


@pytest.fixture
def tools_folder():
    shutil.rmtree(TOOLS, ignore_errors=True)
    os.makedirs(TOOLS)
    yield TOOLS
    shutil.rmtree(TOOLS, ignore_errors=True)


def centre(x, y, w, h):
    return x + w / 2, y + h / 2


def dashboard_of(program):
    proc = program.start()
    window = program.wait_for_dashboard()
    assert window, "the dashboard did not appear"
    return proc, window[0]


def test_connect_to_tech_answered_yes_starts_the_program_in_a_folder_with_spaces(loopback_program):
    assert " " in loopback_program.folder
    stub = os.path.join(loopback_program.folder, "PROGRAMS", "TAV-Remote-Support")
    write_stub(stub)
    proc, dashboard = dashboard_of(loopback_program)
    loopback_program.click(dashboard, *centre(270, 2070, 3045, 705))
    loopback_program.answer_message_box("Return")  # Yes is the default button
    assert wait_for(lambda: os.path.exists(stub + ".ran"), 10), "the remote-support program did not start"
    assert loopback_program.traced(proc, "msgbox ") == [QUESTION]


def test_connect_to_tech_without_the_program_says_it_is_missing(loopback_program):
    proc, dashboard = dashboard_of(loopback_program)
    loopback_program.click(dashboard, *centre(270, 2070, 3045, 705))
    loopback_program.answer_message_box("Return")
    boxes = wait_for(lambda: loopback_program.traced(proc, "msgbox ")[1:], 10)
    assert boxes and boxes[0].startswith(
        "msgbox TAVDashboard: The remote-support program is missing from this computer."), boxes
    assert os.path.join(loopback_program.folder, "PROGRAMS", "TAV-Remote-Support") in boxes[0]
    assert proc.poll() is None


def test_connect_to_tech_answered_no_opens_the_contact_window(loopback_program):
    proc, dashboard = dashboard_of(loopback_program)
    loopback_program.click(dashboard, *centre(270, 2070, 3045, 705))
    loopback_program.answer_message_box("Escape")  # No
    assert wait_for(lambda: loopback_program.display.visible("--name", "^Contact Us$"), 10)


def test_a_tool_image_starts_its_tool_and_a_missing_tool_is_named(loopback_program, tools_folder):
    cleaner = os.path.join(tools_folder, "cleaner")
    write_stub(cleaner)
    proc, dashboard = dashboard_of(loopback_program)
    loopback_program.click(dashboard, *centre(240, 3090, 3045, 705))  # Launch Tools
    tools = wait_for(lambda: loopback_program.display.visible("--name", "^Tools$"), 10)
    assert tools, "the tools window did not open"

    loopback_program.click(tools[0], *centre(1020, 480, 960, 960), button=3)  # any button starts it
    assert wait_for(lambda: os.path.exists(cleaner + ".ran"), 10), "the cleaning tool did not start"
    os.remove(cleaner + ".ran")
    loopback_program.click(tools[0], *centre(1020, 480, 960, 960))
    assert wait_for(lambda: os.path.exists(cleaner + ".ran"), 10), "a second click did not start it again"
    assert loopback_program.display.visible("--name", "^Tools$"), "starting a tool must not close the window"

    loopback_program.click(tools[0], *centre(4020, 480, 960, 960))  # the scanner is not there
    boxes = wait_for(lambda: loopback_program.traced(proc, "msgbox "), 10)
    assert boxes and "ClamTk" in boxes[0] and os.path.join(tools_folder, "scanner") in boxes[0], boxes
    loopback_program.answer_message_box()
    assert proc.poll() is None
