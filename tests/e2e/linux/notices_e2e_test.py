"""Port notices of the real portmaven on a private X desktop with trayer as its tray: a mocked
adapter plugged while it runs raises a notice, a click on the notice opens the menu, the
switch turned off silences it, and a burst leaves the program idle.

Run by ctest: notices_e2e_test.py <portmaven binary> <port_plugger binary>"""
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import DesktopTestCase, wait_for  # noqa: E402
from notice_session import MENU_TIMEOUT, NoticeSession, cpu_ticks  # noqa: E402

PORTMAVEN = None
PLUGGER = None
# Longer than the debounce and an enumeration by far, even on a loaded machine.
NOTICE_TIMEOUT = 10
# Qt's balloon goes away by itself ten seconds after it showed.
BALLOON_LIFETIME = 15


class NoticesE2e(DesktopTestCase):
    def start(self, notify=None):
        session = NoticeSession(self.desktop, PORTMAVEN, PLUGGER, notify)
        self.addCleanup(session.close)
        self.assertTrue(wait_for(session.tray_icon), "no tray icon")
        return session

    def test_plugged_port_raises_a_notice_that_opens_the_menu(self):
        session = self.start()
        # No notice for the ports present at start.
        self.assertFalse(wait_for(session.balloon, timeout=2))
        session.plugger.do("plug")
        balloon = wait_for(session.balloon, timeout=NOTICE_TIMEOUT)
        self.assertTrue(balloon, "plugging a port raised no notice")
        self.assertIsNone(session.process.poll())
        geometry = balloon[0]
        self.desktop.click(geometry["X"] + 20, geometry["Y"] + geometry["HEIGHT"] // 2)
        self.assertTrue(wait_for(session.menu, timeout=MENU_TIMEOUT),
                        "the notice's click opened no menu")

    def test_switched_off_no_notice(self):
        session = self.start(notify=False)
        session.plugger.do("plug")
        self.assertFalse(wait_for(session.balloon, timeout=3),
                         "a notice showed although the switch is off")
        self.assertIsNone(session.process.poll())

    def test_idle_after_a_burst(self):
        session = self.start()
        session.plugger.do("burst 20")
        self.assertTrue(wait_for(session.balloon, timeout=NOTICE_TIMEOUT), "no notice")
        self.assertTrue(wait_for(lambda: not session.balloon(), timeout=BALLOON_LIFETIME))
        before = cpu_ticks(session.process.pid)
        time.sleep(10)
        used = cpu_ticks(session.process.pid) - before
        self.assertEqual(used, 0, "%d clock ticks of CPU time in ten idle seconds" % used)


if __name__ == "__main__":
    PLUGGER = os.path.abspath(sys.argv.pop(2))
    PORTMAVEN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
