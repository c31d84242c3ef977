"""The hardware summary of the real TAVDashboard.exe under Wine: the four texts the dashboard
shows after start-up, with what Wine's management service fills and lacks."""

from conftest import wait_for
from summary_texts import check_summary_shapes, summary_of


def test_the_dashboard_shows_the_summary_wine_gives(program):
    program.start()
    assert program.wait_dashboard(), "the dashboard did not appear"
    summary = wait_for(lambda: summary_of(program.log()) if "drives" in summary_of(program.log()) else None, 10)
    assert summary, "the dashboard was given no summary"
    drive_lines = check_summary_shapes(summary)
    assert "Windows" in summary["os"]
    # Wine has no socket designation: the name part and the socket part are left out.
    assert summary["cpu"].startswith(", C: ") and ", S: " not in summary["cpu"], summary["cpu"]
    # Nor a module speed: 0.
    assert " @ 0Mhz (" in summary["memory"], summary["memory"]
    # Nor a disk caption: the disk lines start with the separator.
    disks = [l for l in summary["drives"].split("\r\n")[:-1] if not l.startswith(tuple("ABCDEFGHIJKLMNOPQRSTUVWXYZ"))]
    assert all(l.startswith(" - ") for l in disks), disks
    roots = [m.group(1) for m in drive_lines]
    assert "C:\\" in roots and "Z:\\" in roots, roots
    assert roots == sorted(roots)
