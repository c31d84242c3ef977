"""The remote-support program and the tools, started by TAVDashboard.exe (loopback build) under
Wine; stand-ins write a marker file beside themselves when they run."""
import os
import shutil

import pytest

from conftest import BUILD, wait_for

TOOLS = "/tmp/tav-test-tools"  # Z:\tmp\tav-test-tools for the program
STUB = os.path.join(BUILD, "tav_stub_program.exe")


@pytest.fixture
def tools_folder():
    shutil.rmtree(TOOLS, ignore_errors=True)
    os.makedirs(TOOLS)
    yield TOOLS
    shutil.rmtree(TOOLS, ignore_errors=True)


def open_dashboard(program):
    program.start()
    assert program.wait_dashboard(), "the dashboard did not show"
    return program.dashboard()[1]["title"]


def test_connect_to_tech_answered_yes_starts_the_program_in_a_folder_with_spaces(loopback_program):
    assert " " in loopback_program.folder
    os.makedirs(os.path.join(loopback_program.folder, "PROGRAMS"))
    target = os.path.join(loopback_program.folder, "PROGRAMS", "TAV-Remote-Support.exe")
    shutil.copy(STUB, target)
    title = open_dashboard(loopback_program)
    loopback_program.click(title, 270, 2070, 3045, 705)  # Connect to Tech
    loopback_program.answer_message_box("&Yes")
    assert wait_for(lambda: os.path.exists(target + ".ran"), 15), "the remote-support program did not start"


def test_connect_to_tech_without_the_program_says_it_is_missing(loopback_program):
    title = open_dashboard(loopback_program)
    loopback_program.click(title, 270, 2070, 3045, 705)
    loopback_program.answer_message_box("&Yes")
    boxes = wait_for(lambda: loopback_program.traced("msgbox ")[1:], 10)
    assert boxes and boxes[0].startswith(
        "msgbox TAVDashboard: The remote-support program is missing from this computer."), boxes
    assert "PROGRAMS\\TAV-Remote-Support.exe" in boxes[0]


def test_a_tool_image_starts_its_tool_and_a_missing_tool_is_named(loopback_program, tools_folder):
    cleaner = os.path.join(tools_folder, "cleaner.exe")
    shutil.copy(STUB, cleaner)
    title = open_dashboard(loopback_program)
    loopback_program.click(title, 240, 3090, 3045, 705)  # Launch Tools
    assert wait_for(lambda: loopback_program.traced("show frmTools"), 10), "the tools window did not open"
    loopback_program.click("Tools", 1020, 480, 960, 960, button=3)
    assert wait_for(lambda: os.path.exists(cleaner + ".ran"), 15), "the cleaning tool did not start"
    loopback_program.click("Tools", 4020, 480, 960, 960)  # the scanner is not there
    boxes = wait_for(lambda: loopback_program.traced("msgbox "), 10)
    assert boxes and "Malwarebytes" in boxes[0] and "Z:\\tmp\\tav-test-tools\\scanner.exe" in boxes[0], boxes
    loopback_program.answer_message_box("OK")
