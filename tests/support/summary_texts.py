"""The dashboard's hardware summary as the program reports it with TAV_TRACE set, and the shapes
its four texts must have: shared by the Linux and the Wine integration tests."""
import re

PROCESSOR = re.compile(r"^(.+ \(.*\))?(, C: \d+)?, T: \d+(, S: .*)?$")
MEMORY = re.compile(r"^(\d*)GB @ (\d+)Mhz \((\d*GB)(, \d*GB)*\)$")
DISK = re.compile(r"^.* - [0-9][0-9.,]{0,4} GB$")
DRIVE = re.compile(r"^(.+)\tSize = (\d+) GB\tFree = (\d+) GB\t"
                   r"(FHD|Floppy/Removable|CD-ROM|RAM disk|NET: .+|Drive type unknown|Drive has no root directory|Unknown device)$")


def summary_of(log):
    """The four summary texts the dashboard was given last (after its design texts), the drives
    with their CR LF line ends."""
    found = {}
    for line in log.splitlines():
        for key, prefix in (("os", "TAVDashboard: frmSysTray.lblOS: "), ("cpu", "TAVDashboard: frmSysTray.lblCPU: "),
                            ("memory", "TAVDashboard: frmSysTray.lblMemory: "),
                            ("drives", "TAVDashboard: text frmSysTray.lblHDD: ")):
            if line.startswith(prefix):
                found[key] = line[len(prefix):]
    if "drives" in found:
        found["drives"] = found["drives"].replace("\\n", "\r\n")
    return found


def check_summary_shapes(summary):
    """Each text has the form the collection builds; returns the drive lines as match objects."""
    assert set(summary) == {"os", "cpu", "memory", "drives"}, summary
    assert summary["os"].strip(), summary
    assert PROCESSOR.match(summary["cpu"]), summary["cpu"]
    assert MEMORY.match(summary["memory"]), summary["memory"]
    drives = summary["drives"]
    assert drives.endswith("\r\n"), repr(drives)
    lines = drives[:-2].split("\r\n")
    drive_lines = [DRIVE.match(l) for l in lines if DRIVE.match(l)]
    for line in lines:
        assert DRIVE.match(line) or DISK.match(line) or line == "Removable Drive", repr(line)
    assert drive_lines, repr(drives)
    return drive_lines


def summary_block(summary):
    """The summary as a mail to the store carries it, each text followed by an empty line."""
    return "".join(part + "\r\n" for part in
                   [summary["os"], "", summary["cpu"], "", summary["memory"], "", summary["drives"], ""])
