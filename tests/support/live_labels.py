"""The dashboard's live labels as the program reports them with TAV_TRACE set, and the formats
they must have: shared by the Linux and the Wine integration tests."""
import contextlib
import re
import subprocess
import sys

USAGE = re.compile(r"^Current CPU Usage:  (100|[1-9]?\d)?\.\d\d%$")
AVERAGE = re.compile(r"^AVG CPU Usage \(Last ([1-9]\d*) secs\):  ((100|[1-9]?\d)?\.\d\d)?%$")
UPTIME = re.compile(r"^Uptime = (\d+) D, (\d+) H, (\d+) M, (\d+) S$")
DESIGN_TEXTS = {"Current CPU Usage:  ", "AVG CPU Usage:  ", "System Uptime:  "}


@contextlib.contextmanager
def busy_processor():
    """Keeps one processor busy for the duration. A reading over an idle half second is 0.00%,
    which leaves the average's caption unchanged; the label checks need every reading above 0,
    so they read the log while the load lasts."""
    spinner = subprocess.Popen([sys.executable, "-c", "while True: pass"])
    try:
        yield
    finally:
        spinner.kill()
        spinner.wait()


def label_values(log, label):
    """Every caption the program gave a dashboard label after its design text, in order."""
    prefix = f"TAVDashboard: frmSysTray.{label}: "
    return [l[len(prefix):] for l in log.splitlines()
            if l.startswith(prefix) and l[len(prefix):] not in DESIGN_TEXTS]


def log_with_readings(log, count):
    """The log when it holds at least count average readings; None before."""
    return log if len(label_values(log, "lblCPUAvg")) >= count else None


def check_live_labels(log, uptime_tolerance_s):
    """The usage, average and uptime texts of a run, against the formats and the system's uptime."""
    usage = label_values(log, "lblUsage")
    average = label_values(log, "lblCPUAvg")
    uptime = label_values(log, "lblSysUptime")
    assert usage and all(USAGE.match(u) for u in usage), usage
    assert average and all(AVERAGE.match(a) for a in average), average
    # The count grows by one with every reading, starting at 1 with an empty average.
    counts = [int(AVERAGE.match(a).group(1)) for a in average]
    assert counts == list(range(1, len(counts) + 1))
    assert average[0] == "AVG CPU Usage (Last 1 secs):  %"

    assert uptime and all(UPTIME.match(u) for u in uptime), uptime
    with open("/proc/uptime") as f:
        system_seconds = float(f.read().split()[0])
    d, h, m, s = map(int, UPTIME.match(uptime[-1]).groups())
    assert h < 24 and m < 60 and s < 60
    assert abs(d * 86400 + h * 3600 + m * 60 + s - system_seconds) < uptime_tolerance_s
