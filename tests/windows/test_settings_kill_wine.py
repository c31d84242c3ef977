"""The settings file of the real TAVDashboard.exe under Wine, ended with TerminateProcess at
random moments of its start while it reads and rewrites settings.ini (tav_kill_settings.exe
does the starting and ending; make kill-test-windows runs more)."""
import os
import shutil
import subprocess
import tempfile

from conftest import BUILD, wine_env

RUNS = int(os.environ.get("TAV_KILL_RUNS", "20"))


def test_every_kill_leaves_a_whole_settings_file_and_the_next_start_cleans_up():
    folder = tempfile.mkdtemp(prefix="tav-kill-wine-")
    try:
        shutil.copy(os.path.join(BUILD, "TAVDashboard.exe"), folder)
        with tempfile.TemporaryFile(mode="w+") as output:
            result = subprocess.run(["wine", os.path.join(BUILD, "tav_kill_settings.exe"), folder, str(RUNS)],
                                    env=wine_env(), stdout=output, stderr=subprocess.DEVNULL,
                                    timeout=120 + 10 * RUNS)
            output.seek(0)
            report = output.read()
        print(report)
        assert result.returncode == 0, report
        assert "temporary files left: 0, settings.ini valid: yes" in report
    finally:
        shutil.rmtree(folder, ignore_errors=True)
