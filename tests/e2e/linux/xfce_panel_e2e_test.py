"""The real portmaven in XFCE's own panel: xfce4-panel with its systray plugin, which shows
StatusNotifierItems, and xfwm4, on a private X desktop and session bus with mocked ports. The
program starts first and waits for a tray; the panel that comes later shows its item, and a right
click on the item and keys in the panel's menu run a command on the chosen port.

Run by ctest under dbus-run-session, with Debian's python3 (python3-dbus):
  xfce_panel_e2e_test.py <portmaven> <port_plugger>"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import dbus

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import Desktop, UserSession, command_record, wait_for  # noqa: E402
from notice_session import Plugger  # noqa: E402
from tray_e2e_test import kill_group  # noqa: E402

PORTMAVEN = None
PLUGGER = None
WATCHER = "org.kde.StatusNotifierWatcher"
# A panel along the top edge with the systray plugin alone. With a configuration of its own the
# panel asks nothing at its first start.
PANEL_CONFIGURATION = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
"""
# The program enumerates before it waits for a tray, and the panel loads its plugins: both are
# slow on a loaded machine.
TIMEOUT = 60


class XfcePanel:
    """xfwm4 and xfce4-panel on the desktop, with the user's configuration folder."""

    def __init__(self, env, log):
        folder = os.path.join(env["XDG_CONFIG_HOME"], "xfce4", "xfconf", "xfce-perchannel-xml")
        os.makedirs(folder)
        with open(os.path.join(folder, "xfce4-panel.xml"), "w") as f:
            f.write(PANEL_CONFIGURATION)
        # The bus starts xfconfd, which reads the file, with the environment it is told.
        bus = dbus.SessionBus()
        dbus.Interface(bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus"),
                       "org.freedesktop.DBus").UpdateActivationEnvironment(
            {key: env[key] for key in ("DISPLAY", "HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR")})
        self.processes = [subprocess.Popen(program, env=env, stdout=subprocess.DEVNULL,
                                           stderr=log, start_new_session=True)
                          for program in (["xfwm4", "--compositor=off"], ["xfce4-panel"])]

    def close(self):
        for process in reversed(self.processes):
            kill_group(process)


class XfcePanelE2e(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="portmaven-xfce-")
        self.addCleanup(shutil.rmtree, self.root, True)
        self.desktop = Desktop(tray=False)
        self.addCleanup(self.desktop.close)
        self.plugger = Plugger(PLUGGER)
        self.addCleanup(self.plugger.close)
        self.recorder_out = os.path.join(self.root, "recorded")
        self.trace = os.path.join(self.root, "menus")
        self.user = UserSession(self.desktop, self.root, UMOCKDEV_DIR=self.plugger.testbed,
                                PORTMAVEN_RECORDER_OUT=self.recorder_out,
                                PORTMAVEN_MENU_TRACE=self.trace,
                                DBUS_SESSION_BUS_ADDRESS=os.environ["DBUS_SESSION_BUS_ADDRESS"])
        # What the program and the panel say goes to the test's output.
        self.log = tempfile.TemporaryFile()
        self.addCleanup(self.print_log)

    def print_log(self):
        self.log.seek(0)
        sys.stderr.write(self.log.read().decode(errors="replace"))
        self.log.close()

    def registered_items(self):
        try:
            watcher = dbus.SessionBus().get_object(WATCHER, "/StatusNotifierWatcher")
            return [str(item) for item in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                                      dbus_interface=dbus.PROPERTIES_IFACE)]
        except dbus.DBusException:
            return []

    def item_box(self, panel):
        """Where the panel draws its one item, as (x, y, width, height) on the screen; None
        while it draws none. The panel is grey and the program's icon is coloured: the box of
        the saturated pixels is the icon."""
        picture = os.path.join(self.root, "panel.png")
        self.desktop.screenshot(picture, crop=(panel.x, panel.y, panel.width, panel.height))
        # A frame keeps "-trim" from taking an icon that touches the panel's corner as border.
        found = subprocess.run(
            ["convert", picture, "-colorspace", "HSL", "-channel", "G", "-separate", "+channel",
             "-threshold", "50%", "-bordercolor", "black", "-border", "1", "-trim", "-format",
             "%w %h %X %Y", "info:"], capture_output=True, text=True).stdout.split()
        width, height, left, top = (int(value) for value in found)
        if width < 8 or height < 8:
            return None
        return panel.x + left - 1, panel.y + top - 1, width, height

    def test_a_command_chosen_in_the_panels_menu_runs_on_that_port(self):
        recorder = os.path.join(HERE, "recorder.sh")
        with open(self.user.portmaven_file("Portmaven.cfg"), "wb") as f:
            f.write(command_record("Record", '"%s" %%PORT%%' % recorder))
        self.plugger.do("plug")
        portmaven = subprocess.Popen(["umockdev-wrapper", PORTMAVEN], env=self.user.env,
                                     stdout=subprocess.DEVNULL, stderr=self.log,
                                     start_new_session=True)
        self.addCleanup(kill_group, portmaven)
        # The menu is filled before the program looks for a tray: it is waiting when the panel
        # starts.
        self.assertTrue(wait_for(lambda: os.path.exists(self.trace), timeout=TIMEOUT),
                        "the program did not start")
        panel = XfcePanel(self.user.env, self.log)
        self.addCleanup(panel.close)
        self.assertTrue(wait_for(self.registered_items, timeout=TIMEOUT),
                        "no item registered with the panel's watcher")
        # The watcher names an item by its bus name, with or without the object's path.
        items = self.registered_items()
        self.assertEqual(len(items), 1)
        bus = dbus.SessionBus()
        owner = bus.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                  "org.freedesktop.DBus", "GetConnectionUnixProcessID", "s",
                                  (items[0].split("/")[0],))
        self.assertEqual(owner, portmaven.pid, "the item in the panel is not the program's")
        window = wait_for(lambda: self.desktop.windows("xfce4-panel"), timeout=TIMEOUT)
        self.assertTrue(window, "the panel shows no window")
        box = wait_for(lambda: self.item_box(window[0]), timeout=TIMEOUT)
        self.assertIsNotNone(box, "the panel draws no item")

        before = {w.wid for w in self.desktop.windows(".*")}
        self.desktop.click(box[0] + box[2] // 2, box[1] + box[3] // 2, button=3)
        menu = wait_for(lambda: [w for w in self.desktop.windows(".*")
                                 if w.wid not in before and w.height > 3 * box[3]],
                        timeout=TIMEOUT)
        self.assertTrue(menu, "a right click on the item opened no menu")
        self.assertFalse(self.desktop.xdotool("search", "--onlyvisible", "--classname",
                                              "portmaven").split(),
                         "the program showed a menu of its own, not the panel")
        # The ports in the order plugged, then ttyUSB1's commands.
        self.desktop.keys("Down", "Down", "Right", "Return")
        self.assertTrue(wait_for(lambda: os.path.exists(self.recorder_out), timeout=TIMEOUT),
                        "the command did not start")
        with open(self.recorder_out) as f:
            self.assertEqual(f.read().splitlines(), [self.user.home, "/dev/ttyUSB1"])
        self.assertIsNone(portmaven.poll())


if __name__ == "__main__":
    PLUGGER = os.path.abspath(sys.argv.pop(2))
    PORTMAVEN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
