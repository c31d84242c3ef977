"""The real Linux executable shows live CPU usage, its average and the uptime."""
from conftest import wait_for
from live_labels import busy_processor, check_live_labels, log_with_readings


def test_usage_average_and_uptime_labels_come_alive(program):
    with busy_processor():
        proc = program.start()
        assert program.wait_for_dashboard()
        log = wait_for(lambda: log_with_readings(program.log(proc), 3), 10)
    assert log, "fewer than three readings"
    check_live_labels(log, uptime_tolerance_s=10)
