"""Each board its own, with the real portmaven on a private X desktop (trayer as its tray):
Port Settings through the real menu and dialog, a command with the board's speed and serial
number, the default command run when the board arrives (once, not again while what it started
runs), and a click on Qt's balloon about the board.

Run by ctest: devices_e2e_test.py <portmaven binary> <port_plugger binary>"""
import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import DesktopTestCase, wait_for  # noqa: E402
from notice_session import MENU_TIMEOUT, NoticeSession  # noqa: E402

PORTMAVEN = None
PLUGGER = None
TIMEOUT = 15
# The dialog's title, with the program's name as the desktop adds it.
DIALOG = "Port Settings( — Portmaven)?"


class DevicesE2e(DesktopTestCase):
    def setUp(self):
        root = tempfile.mkdtemp(prefix="portmaven-devices-")
        self.addCleanup(shutil.rmtree, root, True)
        self.out, self.hold, self.trace = (os.path.join(root, n) for n in ("out", "hold", "trace"))
        # A recorder still held would outlive the test.
        self.addCleanup(lambda: os.path.exists(self.hold) and os.remove(self.hold))
        recorder = os.path.join(HERE, "recorder.sh")
        self.session = NoticeSession(
            self.desktop, PORTMAVEN, PLUGGER,
            commands=[("Record", '"%s" %%PORT%% %%BAUD%% %%SERIAL%% %%VID%%:%%PID%%' % recorder)],
            PORTMAVEN_RECORDER_OUT=self.out, PORTMAVEN_RECORDER_HOLD=self.hold,
            PORTMAVEN_MENU_TRACE=self.trace)
        self.addCleanup(self.session.close)
        self.assertTrue(wait_for(self.session.tray_icon), "no tray icon")

    def plug(self, command):
        """A plugger command, once the program has taken it in: the menu follows the ports
        after the burst, once what the arrival starts has started."""
        fills = lambda: os.path.exists(self.trace) and len(open(self.trace).readlines())
        before = fills()
        self.session.plugger.do(command)
        self.assertTrue(wait_for(lambda: fills() > before, timeout=TIMEOUT), command)

    def running(self):
        """This test's recorders that run now: a process is there from its start on."""
        found = 0
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    recorder = b"recorder.sh" in f.read()
                with open("/proc/%s/environ" % pid, "rb") as f:
                    ours = ("PORTMAVEN_RECORDER_OUT=" + self.out).encode() in f.read().split(b"\0")
                with open("/proc/%s/stat" % pid) as f:
                    zombie = f.read().rsplit(")", 1)[1].split()[0] == "Z"
            except OSError:
                continue
            found += recorder and ours and not zombie
        return found

    def recorded(self):
        """The arguments of the next recorder to run."""
        self.assertTrue(wait_for(lambda: os.path.exists(self.out), timeout=TIMEOUT), "no run")
        with open(self.out) as f:
            lines = f.read().splitlines()[1:]
        os.remove(self.out)
        return lines

    def open_port_entry(self, down):
        icon = self.session.tray_icon()[0]
        self.desktop.click(icon["X"] + icon["WIDTH"] // 2, icon["Y"] + icon["HEIGHT"] // 2)
        self.assertTrue(wait_for(self.session.menu, timeout=MENU_TIMEOUT), "no menu")
        # The menu is mapped before it grabs the keyboard.
        wait_for(lambda: False, timeout=0.5)
        self.desktop.keys(*["Down"] * down, "Right")

    def test_port_settings_and_what_a_board_starts_when_it_arrives(self):
        self.plug("board A1")
        # /dev/ttyUSB1 is the second port. Up from its first command wraps to Hide Port, then
        # Port Settings: name, speed, default command, on arrival, for every such board.
        self.open_port_entry(2)
        self.desktop.keys("Up", "Up", "Return")
        dialog = wait_for(lambda: self.desktop.windows(DIALOG), timeout=TIMEOUT)
        self.assertTrue(dialog, "no Port Settings dialog")
        self.desktop.xdotool("windowfocus", "--sync", dialog[0].wid)
        self.desktop.xdotool("type", "--delay", "50", "Probe")
        self.desktop.keys("Tab", "ctrl+a")
        self.desktop.xdotool("type", "--delay", "50", "9600")
        self.desktop.keys("Tab", "Down", "Tab", "space", "Tab", "space", "Return")
        self.assertTrue(wait_for(lambda: not self.desktop.windows(DIALOG), timeout=5))
        self.assertFalse(os.path.exists(self.out), "a board without settings started something")

        # Chosen in the menu, the command gets the board's speed, serial number and ids.
        self.open_port_entry(2)
        self.desktop.keys("Return")
        self.assertEqual(self.recorded(), ["/dev/ttyUSB1", "9600", "A1", "10c4:ea60"])

        # From now on the recorder stays, as a terminal left open does.
        open(self.hold, "w").close()
        self.plug("unplug")
        self.plug("board A1")
        self.assertEqual(self.recorded(), ["/dev/ttyUSB2", "9600", "A1", "10c4:ea60"])
        # The board resets while its terminal is open: no second one.
        self.plug("unplug")
        self.plug("board A1")
        self.assertEqual(self.running(), 1, "a second terminal for a board whose first runs")

        # A click on the notice about it runs its command all the same: the user asked.
        balloon = wait_for(self.session.balloon, timeout=TIMEOUT)
        self.assertTrue(balloon, "no notice about the board")
        self.desktop.click(balloon[0]["X"] + 20, balloon[0]["Y"] + balloon[0]["HEIGHT"] // 2)
        self.assertEqual(self.recorded(), ["/dev/ttyUSB3", "9600", "A1", "10c4:ea60"])
        self.assertFalse(self.session.menu(), "the click opened the menu as well")

        # Once the terminals are closed, the board's next arrival starts one again, and another
        # board of the same kind gets the kind's settings.
        os.remove(self.hold)
        self.assertTrue(wait_for(lambda: self.running() == 0, timeout=TIMEOUT))
        self.plug("unplug")
        self.plug("board A1")
        self.assertEqual(self.recorded(), ["/dev/ttyUSB4", "9600", "A1", "10c4:ea60"])
        self.plug("board B2")
        self.assertEqual(self.recorded(), ["/dev/ttyUSB5", "9600", "B2", "10c4:ea60"])
        self.assertIsNone(self.session.process.poll())


if __name__ == "__main__":
    PLUGGER = os.path.abspath(sys.argv.pop(2))
    PORTMAVEN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
