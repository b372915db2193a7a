#!/usr/bin/env python3
"""portmaven at rest, on a private Xvfb desktop with trayer and two mocked ports: the CPU time
it uses over a quiet stretch (goal: none) and its resident memory against a minimal
QSystemTrayIcon program (goal: at most 1.2x).

    idle_bench.py <portmaven> <minimal_tray> [seconds]"""
import os
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MOCKS = os.path.join(ROOT, "tests", "e2e", "linux")
sys.path.insert(0, MOCKS)
from desktop import Desktop  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def program_pid(process):
    """The program itself: umockdev-run's child when it runs under umockdev-run."""
    children = f"/proc/{process.pid}/task/{process.pid}/children"
    try:
        with open(children) as f:
            pids = f.read().split()
    except OSError:
        pids = []
    return int(pids[0]) if pids else process.pid


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def settle(command, env, quiet_seconds):
    """Starts the command, lets it settle, and measures CPU over the quiet stretch and RSS."""
    process = subprocess.Popen(command, env=env, start_new_session=True,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(3)
        pid = program_pid(process)
        before = cpu_seconds(pid)
        time.sleep(quiet_seconds)
        return cpu_seconds(pid) - before, resident_kib(pid)
    finally:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


def main(portmaven, minimal, quiet_seconds):
    desktop = Desktop()
    try:
        with tempfile.TemporaryDirectory(prefix="portmaven-idle-") as root:
            env = dict(desktop.env, HOME=root, XDG_CONFIG_HOME=root, XDG_RUNTIME_DIR=root,
                       QT_QPA_PLATFORM="xcb")
            mocks = ["--device", os.path.join(MOCKS, "ttyUSB0.umockdev"), "--device",
                     os.path.join(MOCKS, "ttyACM0.umockdev")]
            cpu, ours = settle(["umockdev-run", *mocks, "--", portmaven], env, quiet_seconds)
            _, bare = settle(["umockdev-run", *mocks, "--", minimal], env, 0)
    finally:
        desktop.close()
    print(f"idle over {quiet_seconds:g} s: portmaven used {cpu:.2f} s of CPU (goal 0)")
    print(f"idle resident memory: portmaven {ours} KiB, minimal tray {bare} KiB, "
          f"ratio {ours / bare:.2f}x (goal <= 1.2x)")


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], float(sys.argv[3]) if len(sys.argv) == 4 else 10.0)
