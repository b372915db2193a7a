#!/usr/bin/env python3
"""A pseudo-terminal standing in for a serial port's device in a Wine prefix.

    pty_port.py LINK READY

Opens a pseudo-terminal, points LINK (a port's entry in the prefix's dosdevices folder, such as
.../dosdevices/com21) at its slave, so that opening the port under Wine opens the terminal, and
writes the slave's path to READY. Keeps the terminal until READY is removed (or ten minutes
have passed, should the test be gone), then removes LINK.
"""
import os
import pty
import sys
import time

LIFETIME_SECONDS = 600


def main():
    link, ready = sys.argv[1:3]
    master, slave = pty.openpty()
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.ttyname(slave), link)
    with open(ready + ".part", "w", encoding="utf-8") as part:
        part.write(os.ttyname(slave))
    os.replace(ready + ".part", ready)
    end = time.monotonic() + LIFETIME_SECONDS
    try:
        while os.path.exists(ready) and time.monotonic() < end:
            time.sleep(0.05)
    finally:
        os.remove(link)
        os.close(slave)
        os.close(master)


if __name__ == "__main__":
    main()
