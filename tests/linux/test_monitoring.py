"""The real Linux executable shows live CPU usage, its average and the uptime."""
from conftest import wait_for
from live_labels import busy_processor, check_live_labels, label_values


def test_usage_average_and_uptime_labels_come_alive(program):
    with busy_processor():
        proc = program.start()
        assert program.wait_for_dashboard()
        assert wait_for(lambda: len(label_values(program.log(proc), "lblCPUAvg")) >= 3, 10), "fewer than three readings"
    check_live_labels(program.log(proc), uptime_tolerance_s=10)
