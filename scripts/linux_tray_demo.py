#!/usr/bin/env python3
"""Runs the native portmaven on a virtual display (Xvfb, with trayer as its tray) with mocked
serial ports (umockdev), opens its tray menu and a port's commands, and saves a screenshot
cropped to the menu, with the bare screen around a shorter submenu transparent.

    linux_tray_demo.py <portmaven binary> <screenshot.png>"""
import os
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MOCKS = os.path.join(ROOT, "tests", "e2e", "linux")
sys.path.insert(0, MOCKS)
from desktop import TRAY_SIZE, Desktop, UserSession, wait_for  # noqa: E402

COMMANDS = (
    ("picocom", "x-terminal-emulator -e picocom -b 115200 %PORT%"),
    ("tio", "x-terminal-emulator -e tio -b 115200 %PORT%"),
    ("GTKTerm", "gtkterm -p %PORT% -s 115200"),
)


def command_file_bytes():
    return b"".join(name.encode("utf-16-le").ljust(512, b"\0") +
                    line.encode("utf-16-le").ljust(2048, b"\0") for name, line in COMMANDS)


def main(portmaven, screenshot):
    desktop = Desktop()
    with tempfile.TemporaryDirectory(prefix="portmaven-demo-") as root:
        user = UserSession(desktop, root)
        with open(user.portmaven_file("Portmaven.cfg"), "wb") as f:
            f.write(command_file_bytes())
        process = subprocess.Popen(
            ["umockdev-run", "--device", os.path.join(MOCKS, "ttyUSB0.umockdev"), "--device",
             os.path.join(MOCKS, "ttyACM0.umockdev"), "--", portmaven],
            env=user.env, start_new_session=True)
        try:
            icon = wait_for(lambda: [w for w in desktop.windows("Portmaven")
                                     if w.x + w.width <= TRAY_SIZE + 2])
            if not icon:
                sys.exit("portmaven showed no tray icon")
            desktop.click(*icon[0].center())

            def menus():
                return [w for w in desktop.windows("Portmaven") if w.width > TRAY_SIZE]

            if not wait_for(menus):
                sys.exit("the click opened no menu")
            time.sleep(0.5)
            # The first port's commands, highlighted as a user would see them.
            desktop.keys("Down", "Right")
            wait_for(lambda: len(menus()) >= 2, timeout=5)
            time.sleep(0.3)
            shown = menus()
            left = min(w.x for w in shown)
            top = min(w.y for w in shown)
            right = max(w.x + w.width for w in shown)
            bottom = max(w.y + w.height for w in shown)
            # Where the commands' submenu is shorter than the menu, the bare screen beside it
            # is left transparent.
            desktop.screenshot(screenshot, (left, top, right - left, bottom - top), shown)
        finally:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()
            desktop.close()
    print("Screenshot of the tray menu:", os.path.abspath(screenshot))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(os.path.abspath(sys.argv[1]), sys.argv[2])
