"""The hardware summary of the real Linux executable: the four texts the dashboard shows after
start-up, against their shapes and this machine."""
import os

from conftest import wait_for
from summary_texts import check_summary_shapes, summary_of


def os_release_pretty_name():
    with open("/etc/os-release") as f:
        for line in f:
            if line.startswith("PRETTY_NAME="):
                return line.split("=", 1)[1].strip().strip('"')
    return None


def test_the_dashboard_shows_this_machines_summary(program):
    proc = program.start()
    assert program.wait_for_dashboard(), "the dashboard did not appear"
    summary = wait_for(lambda: summary_of(program.log(proc)) if "drives" in summary_of(program.log(proc)) else None, 5)
    assert summary, "the dashboard was given no summary"
    drive_lines = check_summary_shapes(summary)

    assert summary["os"] == os_release_pretty_name()
    assert summary["cpu"].split(", T: ")[1].split(",")[0] == str(os.cpu_count())
    roots = [m.group(1) for m in drive_lines]
    assert "/" in roots, roots
    stat = os.statvfs("/")
    size = next(int(m.group(2)) for m in drive_lines if m.group(1) == "/")
    assert abs(size - stat.f_blocks * stat.f_frsize / 2 ** 30) <= 1
    assert not any(r.startswith(("/proc", "/sys", "/dev/shm", "/run")) for r in roots), roots
