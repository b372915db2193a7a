"""The real portmaven binary on a private X desktop with a tray and a mocked /dev/ttyUSB0,
driven as a user would: a click on the tray icon, keys in the menu.

Run by ctest: tray_e2e_test.py <portmaven binary>"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import (NAME_BYTES, RECORD_BYTES, TRAY_SIZE, DesktopTestCase,  # noqa: E402
                     UserSession, command_record, wait_for)

PORTMAVEN = None


def command_records(data):
    records = []
    for start in range(0, len(data) - RECORD_BYTES + 1, RECORD_BYTES):
        fields = (data[start:start + NAME_BYTES], data[start + NAME_BYTES:start + RECORD_BYTES])
        records.append(tuple(f.decode("utf-16-le").split("\0", 1)[0] for f in fields))
    return records


def kill_group(process):
    """Kills umockdev-run and the program it runs, as a crash would end the program."""
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()


class TrayE2e(DesktopTestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="portmaven-e2e-")
        self.addCleanup(shutil.rmtree, self.root, True)
        self.recorder_out = os.path.join(self.root, "recorded")
        user = UserSession(self.desktop, self.root, PORTMAVEN_RECORDER_OUT=self.recorder_out)
        self.home, self.env = user.home, user.env
        self.command_file = user.portmaven_file("Portmaven.cfg")
        self.processes = []
        # What the program says goes to the test's output when something fails.
        self.log = tempfile.TemporaryFile()
        self.addCleanup(self.log.close)
        self.addCleanup(self.stop_all)

    def stop_all(self):
        self.log.seek(0)
        sys.stderr.write(self.log.read().decode(errors="replace"))
        for process in self.processes:
            kill_group(process)
        # Leave no window of this test on the shared desktop for the next one.
        wait_for(lambda: not self.desktop.windows("Portmaven"), timeout=5)

    def write_commands(self, *records):
        with open(self.command_file, "wb") as f:
            f.write(b"".join(command_record(*r) for r in records))

    def start(self, devices=os.path.join(HERE, "ttyUSB0.umockdev")):
        """portmaven with the mocked USB serial adapter (or the devices of another record)."""
        process = subprocess.Popen(
            ["umockdev-run", "--device", devices, "--", PORTMAVEN], env=self.env,
            stdout=subprocess.DEVNULL, stderr=self.log, start_new_session=True)
        self.processes.append(process)
        return process

    def tray_icons(self):
        return [w for w in self.desktop.windows("Portmaven")
                if w.x + w.width <= TRAY_SIZE + 2 and w.y + w.height <= TRAY_SIZE + 2]

    def tray_icon(self):
        icons = self.tray_icons()
        return icons[0] if icons else None

    def menus(self):
        return [w for w in self.desktop.windows("Portmaven") if w.width > TRAY_SIZE]

    def menu(self):
        menus = self.menus()
        return menus[0] if menus else None

    def open_menu(self, timeout=15):
        """The menu, opened by a click on the icon; timeout bounds each wait, for the icon and
        for the menu."""
        icon = wait_for(self.tray_icon, timeout=timeout)
        self.assertIsNotNone(icon, "no tray icon")
        self.desktop.click(*icon.center())
        menu = wait_for(self.menu, timeout=timeout)
        self.assertIsNotNone(menu, "the click on the tray icon opened no menu")
        # The menu is mapped before it grabs the keyboard; keys sent in between are lost.
        time.sleep(0.5)
        return menu

    def test_command_under_port_starts_with_that_port(self):
        self.write_commands(
            ("Record", '"%s" %%PORT%% "number %%PORTNUM%%"' % os.path.join(HERE, "recorder.sh")),
            ("Other", "/bin/false"))
        portmaven = self.start()
        self.open_menu()
        # The first entry is the only port; Right opens its commands with the first highlighted.
        self.desktop.keys("Down", "Right", "Return")
        recorded = wait_for(lambda: os.path.exists(self.recorder_out), timeout=10)
        self.assertTrue(recorded, "the command did not start")
        with open(self.recorder_out) as f:
            lines = f.read().splitlines()
        self.assertEqual(lines, [self.home, "/dev/ttyUSB0", "number 0"])
        self.assertFalse(self.dialogs("Portmaven"), "a message box for a command that started")
        self.assertIsNone(portmaven.poll())

    def dialogs(self, title):
        return [w for w in self.desktop.windows(title)
                if "_NET_WM_WINDOW_TYPE_DIALOG" in self.desktop.window_type(w)]

    def list_ports(self):
        """portmaven --list-ports with the mocked adapter, as a script runs it."""
        return subprocess.run(
            ["umockdev-run", "--device", os.path.join(HERE, "ttyUSB0.umockdev"), "--",
             PORTMAVEN, "--list-ports"], env=self.env, capture_output=True, timeout=60)

    def test_list_ports_prints_the_board_with_or_without_a_running_copy(self):
        expected = ("/dev/ttyUSB0\tFT232R USB UART (/dev/ttyUSB0)\t0403:6001\tA50285BI\tFTDI"
                    "\tshown\n").encode()
        alone = self.list_ports()
        self.assertEqual((alone.returncode, alone.stdout), (0, expected))
        self.assertFalse(self.tray_icons(), "--list-ports put an icon in the tray")
        portmaven = self.start()
        self.assertIsNotNone(wait_for(self.tray_icon), "no tray icon")
        beside = self.list_ports()
        self.assertEqual((beside.returncode, beside.stdout), (0, expected))
        self.assertEqual(len(self.tray_icons()), 1)
        self.assertIsNone(portmaven.poll())
        helped = subprocess.run([PORTMAVEN, "--help"], env=self.env, capture_output=True,
                                timeout=60)
        self.assertEqual(helped.returncode, 0)
        self.assertIn(b"--list-ports", helped.stdout)

    def test_command_of_a_missing_program_shows_a_message(self):
        self.write_commands(("Missing", "/nonexistent/portmaven-e2e-program %PORT%"))
        portmaven = self.start()
        self.open_menu()
        self.desktop.keys("Down", "Right", "Return")
        box = wait_for(lambda: self.dialogs("Portmaven"), timeout=10)
        self.assertTrue(box, "no message box for a program that does not exist")
        # Qt's labels are no X windows of their own, so the text cannot be read from here; the
        # box is the program's only dialog titled so, and a command that starts shows none.
        self.desktop.xdotool("windowfocus", "--sync", box[0].wid)
        self.desktop.keys("Return")
        self.assertTrue(wait_for(lambda: not self.dialogs("Portmaven"), timeout=5),
                        "the message box stayed")
        self.assertIsNone(portmaven.poll())

    def test_about_box_opens_from_the_menu_and_closes(self):
        portmaven = self.start()
        # Closed once with Escape, then opened again from the menu and closed with Return.
        for key in ("Escape", "Return"):
            self.open_menu()
            # The port, then Properties and About Portmaven: separators are skipped.
            self.desktop.keys("Down", "Down", "Down", "Return")
            box = wait_for(lambda: self.desktop.windows("About Portmaven"), timeout=10)
            self.assertTrue(box, "About Portmaven opened no window")
            self.desktop.xdotool("windowfocus", "--sync", box[0].wid)
            self.desktop.keys(key)
            self.assertTrue(
                wait_for(lambda: not self.desktop.windows("About Portmaven"), timeout=5),
                "%s did not close the About box" % key)
        self.assertIsNone(portmaven.poll())

    def test_exit_saves_the_list_and_ends(self):
        # No command file: the list starts with the default command, and Exit writes it.
        portmaven = self.start()
        self.open_menu()
        # The port, then Properties, About Portmaven and Exit: separators are skipped.
        self.desktop.keys("Down", "Down", "Down", "Down", "Return")
        self.assertEqual(portmaven.wait(20), 0)
        with open(self.command_file, "rb") as f:
            records = command_records(f.read())
        self.assertEqual(len(records), 1)
        self.assertEqual(records[0][0], "Connect")
        self.assertIn("%PORT%", records[0][1])
        self.assertTrue(wait_for(lambda: not self.tray_icon(), timeout=5), "the icon stayed")

    def test_three_hundred_ports_keep_every_entry_on_the_screen(self):
        with open(os.path.join(HERE, "ttyUSB0.umockdev")) as f:
            adapter = f.read()
        devices = os.path.join(self.root, "many.umockdev")
        with open(devices, "w") as f:
            for number in range(300):
                f.write(adapter.replace("ttyUSB0", "ttyUSB%d" % number)
                        .replace("1-1", "1-%d" % (number + 1)) + "\n")
        portmaven = self.start(devices)
        # On a loaded machine the program takes 15 to 20 s to enumerate 300 ports before its
        # icon shows: the waits are given far longer than that.
        menu_deadline = 90
        self.open_menu(menu_deadline)
        # Up from nothing highlighted wraps to Exit; three more reach "More Ports" above the
        # separator. Each level below ends in the next "More Ports": 29 ports a level.
        self.desktop.keys("Up", "Up", "Up", "Up", "Right")
        for _ in range(9):
            self.desktop.keys("Up", "Right")
        self.assertTrue(wait_for(lambda: len(self.menus()) == 11),
                        "the menu and ten levels of More Ports")
        for menu in self.menus():
            self.assertTrue(menu.x >= 0 and menu.y >= 0 and menu.x + menu.width <= 800 and
                            menu.y + menu.height <= 600,
                            "a menu runs off the screen: %d,%d %dx%d"
                            % (menu.x, menu.y, menu.width, menu.height))
        self.desktop.keys(*["Escape"] * 11)
        self.assertTrue(wait_for(lambda: not self.menu(), timeout=5), "the menus stayed")
        self.open_menu(menu_deadline)
        self.desktop.keys("Up", "Return")
        self.assertEqual(portmaven.wait(20), 0, "Exit did not end the program")

    def test_second_copy_is_refused_and_a_crashed_copy_blocks_nothing(self):
        first = self.start()
        self.assertIsNotNone(wait_for(self.tray_icon), "no tray icon")
        second = self.start()
        box = wait_for(lambda: self.desktop.windows("Information \u2014 Portmaven"))
        self.assertTrue(box, "the second copy showed no message")
        self.desktop.xdotool("windowfocus", "--sync", box[0].wid)
        self.desktop.keys("Return")
        self.assertEqual(second.wait(10), 0)
        self.assertIsNone(first.poll(), "the first copy ended")
        self.assertEqual(len(self.tray_icons()), 1)

        kill_group(first)
        wait_for(lambda: not self.tray_icon(), timeout=5)
        third = self.start()
        self.assertIsNotNone(wait_for(self.tray_icon), "a crashed copy's lock blocked the start")
        self.assertIsNone(third.poll())


if __name__ == "__main__":
    PORTMAVEN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
