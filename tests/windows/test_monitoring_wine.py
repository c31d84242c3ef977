"""TAVDashboard.exe under Wine shows live CPU usage, its average and the uptime."""
import re

from conftest import wait_for

USAGE = re.compile(r"^Current CPU Usage:  (100|[1-9]?\d)?\.\d\d%$")
AVERAGE = re.compile(r"^AVG CPU Usage \(Last ([1-9]\d*) secs\):  ((100|[1-9]?\d)?\.\d\d)?%$")
UPTIME = re.compile(r"^Uptime = (\d+) D, (\d+) H, (\d+) M, (\d+) S$")
DESIGN_TEXTS = {"Current CPU Usage:  ", "AVG CPU Usage:  ", "System Uptime:  "}


def label_values(program, label):
    """Every caption the program gave the dashboard label after its design text, in order."""
    prefix = f"TAVDashboard: frmSysTray.{label}: "
    lines = program.log().splitlines()
    return [l[len(prefix):] for l in lines if l.startswith(prefix) and l[len(prefix):] not in DESIGN_TEXTS]


def test_usage_average_and_uptime_labels_come_alive(program):
    program.start()
    assert program.wait_dashboard()
    assert wait_for(lambda: len(label_values(program, "lblCPUAvg")) >= 3, 15), "fewer than three readings"

    usage = label_values(program, "lblUsage")
    average = label_values(program, "lblCPUAvg")
    uptime = label_values(program, "lblSysUptime")
    assert all(USAGE.match(u) for u in usage), usage
    assert all(AVERAGE.match(a) for a in average), average
    counts = [int(AVERAGE.match(a).group(1)) for a in average]
    assert counts == list(range(1, len(counts) + 1))
    assert average[0] == "AVG CPU Usage (Last 1 secs):  %"

    # Wine's uptime is the host's.
    assert uptime and all(UPTIME.match(u) for u in uptime), uptime
    with open("/proc/uptime") as f:
        system_seconds = float(f.read().split()[0])
    d, h, m, s = map(int, UPTIME.match(uptime[-1]).groups())
    assert h < 24 and m < 60 and s < 60
    assert abs(d * 86400 + h * 3600 + m * 60 + s - system_seconds) < 20
