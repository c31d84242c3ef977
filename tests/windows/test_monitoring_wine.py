"""TAVDashboard.exe under Wine shows live CPU usage, its average and the uptime."""
from conftest import wait_for
from live_labels import busy_processor, check_live_labels, label_values


def test_usage_average_and_uptime_labels_come_alive(program):
    with busy_processor():
        program.start()
        assert program.wait_dashboard()
        assert wait_for(lambda: len(label_values(program.log(), "lblCPUAvg")) >= 3, 15), "fewer than three readings"
    # Wine's uptime is the host's.
    check_live_labels(program.log(), uptime_tolerance_s=20)
