"""TAVDashboard.exe under Wine shows live CPU usage, its average and the uptime."""
from conftest import wait_for
from live_labels import busy_processor, check_live_labels, log_with_readings


def test_usage_average_and_uptime_labels_come_alive(program):
    with busy_processor():
        program.start()
        assert program.wait_dashboard()
        log = wait_for(lambda: log_with_readings(program.log(), 3), 15)
    assert log, "fewer than three readings"
    # Wine's uptime is the host's.
    check_live_labels(log, uptime_tolerance_s=20)
