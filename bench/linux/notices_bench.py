"""Port notices of the real portmaven, measured: the time from the uevent to the notice on the
screen (the debounce plus one enumeration, plus the balloon's drawing), and the CPU time it
uses while nothing happens. Runs on its own Xvfb desktop with trayer and a mocked adapter that
is plugged and unplugged a number of times.

    notices_bench.py <portmaven binary> <port_plugger binary> [cycles]

The notice is seen by polling the window list, so each time carries up to one poll interval
(printed) on top of the program's own delay."""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e", "linux"))
from desktop import Desktop, wait_for  # noqa: E402
from notice_session import NoticeSession, cpu_ticks  # noqa: E402

DEBOUNCE_MS = 300  # kPortChangeDebounce
POLL_S = 0.005
IDLE_S = 10
TICKS_PER_S = os.sysconf("SC_CLK_TCK")


def time_to_notice(session, command):
    started = time.monotonic()
    session.plugger.do(command)
    if not wait_for(session.balloon, timeout=10, interval=POLL_S):
        raise RuntimeError("no notice after %s" % command)
    elapsed = time.monotonic() - started
    # The next notice must be a new window, not this one still showing: a click closes it
    # (and opens the menu, which Escape closes).
    balloon = session.balloon()[0]
    session.desktop.click(balloon["X"] + 20, balloon["Y"] + balloon["HEIGHT"] // 2)
    if not wait_for(lambda: not session.balloon(), timeout=5, interval=POLL_S):
        raise RuntimeError("the notice did not close")
    wait_for(session.menu, timeout=5)
    session.desktop.xdotool("key", "Escape")
    session.desktop.xdotool("mousemove", "400", "400")
    time.sleep(0.5)
    return elapsed * 1000


def main():
    portmaven, plugger = sys.argv[1], sys.argv[2]
    cycles = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    desktop = Desktop()
    session = None
    try:
        session = NoticeSession(desktop, portmaven, plugger)
        if not wait_for(session.tray_icon):
            raise RuntimeError("no tray icon")
        time.sleep(1)
        times = []
        for _ in range(cycles):
            times.append(time_to_notice(session, "plug"))
            times.append(time_to_notice(session, "unplug"))
        median = statistics.median(times)
        print("uevent to notice over %d notices: median %.0f ms, min %.0f ms, max %.0f ms"
              % (len(times), median, min(times), max(times)))
        print("  of which the debounce: %d ms; enumeration, drawing and polling (%.0f ms "
              "steps): %.0f ms; ratio to the debounce: %.2fx"
              % (DEBOUNCE_MS, POLL_S * 1000, median - DEBOUNCE_MS, median / DEBOUNCE_MS))

        session.plugger.do("burst 20")
        wait_for(session.balloon, timeout=10)
        wait_for(lambda: not session.balloon(), timeout=15)
        before = cpu_ticks(session.process.pid)
        time.sleep(IDLE_S)
        used = cpu_ticks(session.process.pid) - before
        print("idle CPU after a burst: %d ticks (%.3f s) in %d s (goal: 0)"
              % (used, used / TICKS_PER_S, IDLE_S))
    finally:
        if session is not None:
            session.close()
        desktop.close()


if __name__ == "__main__":
    main()
