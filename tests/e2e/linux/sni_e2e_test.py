"""The real portmaven where a StatusNotifierItem host shows tray icons, as on KDE Plasma, GNOME
with the AppIndicator extension and XFCE: a stand-in panel (sni_host.py) owns the watcher and
the notification service on a private session bus, and the tests do what those panels do with
the item and its exported menu. The same tests run on an X display without any XEmbed tray and
on a headless Wayland compositor.

Run by ctest under dbus-run-session, with Debian's python3 (python3-dbus):
  sni_e2e_test.py <portmaven> <port_plugger> <class>   class: OnX11 or OnWayland"""
import glob
import grp
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

import dbus

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import Desktop, UserSession, wait_for  # noqa: E402
from notice_session import Plugger  # noqa: E402
from tray_e2e_test import command_record, command_records, kill_group  # noqa: E402

PORTMAVEN = None
PLUGGER = None
# Preloaded into the program to hold its look for holders at a gate (tests/support/linux).
PROC_GATE = os.environ.get("PORTMAVEN_PROC_GATE_PRELOAD")
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
# Longer than the debounce and an enumeration by far, even on a loaded machine.
TIMEOUT = 15


class Panel:
    """sni_host.py: the watcher with a host, and the notification service."""

    def __init__(self, env):
        self.process = subprocess.Popen([sys.executable, os.path.join(HERE, "sni_host.py")],
                                        env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True)
        self.events = []
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        if not self.wait(lambda e: e.get("ready")):
            self.close()
            raise RuntimeError("the stand-in panel did not start")

    def _read(self):
        for line in self.process.stdout:
            with self.lock:
                self.events.append(json.loads(line))

    def seen(self, predicate):
        with self.lock:
            return [e for e in self.events if predicate(e)]

    def wait(self, predicate, timeout=TIMEOUT):
        found = wait_for(lambda: self.seen(predicate), timeout=timeout)
        return found[0] if found else None

    def invoke(self, notification, action):
        self.process.stdin.write("invoke %d %s\n" % (notification, action))
        self.process.stdin.flush()

    def close_notice(self, notification):
        self.process.stdin.write("close %d\n" % notification)
        self.process.stdin.flush()

    def notices(self, count):
        """The first count Notify calls, once there are that many; None after the timeout."""
        found = wait_for(lambda: len(self.seen(lambda e: "notify" in e)) >= count,
                         timeout=TIMEOUT)
        return [e["notify"] for e in self.seen(lambda e: "notify" in e)][:count] if found else None

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)


def label(entry):
    """The label as a panel shows it: a single "_" marks the next letter as the mnemonic and
    is not shown, "__" shows one "_"."""
    return re.sub(r"__?", lambda m: "_" if m.group(0) == "__" else "",
                  entry[1].get("label", ""))


def entries(layout):
    """(id, properties, children) of a GetLayout answer, in plain Python types."""
    identifier, properties, children = layout
    return (int(identifier), {str(k): v for k, v in properties.items()},
            [entries(child) for child in children])


class ExportedMenu:
    def __init__(self, bus, service, path):
        self.menu = dbus.Interface(bus.get_object(service, path), MENU)

    def layout(self):
        _, root = self.menu.GetLayout(0, -1, dbus.Array([], signature="s"))
        return entries(root)[2]

    def about_to_show(self):
        self.menu.AboutToShow(0)

    def click(self, identifier):
        self.menu.Event(identifier, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))

    def click_group(self, identifiers):
        """As libdbusmenu's panels (XFCE) click: EventGroup; the ids the menu did not know."""
        events = dbus.Array([dbus.Struct((dbus.Int32(i), "clicked", dbus.Int32(0, variant_level=1),
                                          dbus.UInt32(0))) for i in identifiers],
                            signature="(isvu)")
        return [int(i) for i in self.menu.EventGroup(events)]

    def labels_of(self, identifiers):
        answer = self.menu.GetGroupProperties(dbus.Array(identifiers, signature="i"),
                                              dbus.Array(["label"], signature="s"))
        return {int(i): label((i, props, [])) for i, props in answer}


def find(level, pattern):
    found = [e for e in level if re.search(pattern, label(e))]
    return found[0] if found else None


def ports_of(level):
    """The port entries of a level and of the "More Ports" levels below it, in menu order."""
    ports = []
    for entry in level:
        if label(entry) == "More Ports":
            ports += ports_of(entry[2])
        elif entry[2] and "/dev/" in label(entry):
            ports.append(entry)
    return ports


class Suite:
    """The tests; OnX11 and OnWayland give them a display."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="portmaven-sni-")
        self.addCleanup(shutil.rmtree, self.root, True)
        self.plugger = Plugger(PLUGGER)
        self.addCleanup(self.plugger.close)
        self.recorder_out = os.path.join(self.root, "recorded")
        self.trace = os.path.join(self.root, "menus")
        user = UserSession(self.display, self.root, UMOCKDEV_DIR=self.plugger.testbed,
                           PORTMAVEN_RECORDER_OUT=self.recorder_out,
                           PORTMAVEN_MENU_TRACE=self.trace,
                           DBUS_SESSION_BUS_ADDRESS=os.environ["DBUS_SESSION_BUS_ADDRESS"],
                           **self.platform_env())
        self.env, self.home = user.env, user.home
        self.command_file = user.portmaven_file("Portmaven.cfg")
        self.settings_file = user.portmaven_file("portmaven.conf")
        self.bus = dbus.SessionBus()
        self.panel = None
        self.portmaven = None
        self.preloads = []
        self.log = tempfile.TemporaryFile()
        self.addCleanup(self.stop_all)

    def stop_all(self):
        if self.portmaven is not None and self.portmaven.poll() is None:
            kill_group(self.portmaven)
        if self.panel is not None:
            self.panel.close()
        self.log.close()

    def write_commands(self, *records):
        with open(self.command_file, "wb") as f:
            f.write(b"".join(command_record(*r) for r in records))

    def start_panel(self):
        self.panel = Panel(dict(os.environ))

    def start(self, before=()):
        # What umockdev-wrapper does, after the test's own preloads: umockdev's calls the C
        # library's functions directly, past any preloaded after it.
        preloads = self.preloads + ["libumockdev-preload.so.0", self.env.get("LD_PRELOAD", "")]
        env = dict(self.env, LD_PRELOAD=":".join(p for p in preloads if p))
        self.portmaven = subprocess.Popen([*before, PORTMAVEN], env=env,
                                          stdout=subprocess.DEVNULL, stderr=self.log,
                                          start_new_session=True)

    def item(self, timeout=TIMEOUT):
        """The item's registration with the panel, and its exported menu."""
        registered = self.panel.wait(lambda e: "item" in e, timeout)
        self.assertIsNotNone(registered, "the program registered no item with the panel")
        service = registered["item"]
        self.sender = registered["sender"]
        properties = dbus.Interface(self.bus.get_object(service, "/StatusNotifierItem"),
                                    dbus.PROPERTIES_IFACE)
        self.item_properties = properties
        self.item_object = dbus.Interface(self.bus.get_object(service, "/StatusNotifierItem"),
                                          ITEM)
        path = str(properties.Get(ITEM, "Menu"))
        return path, ExportedMenu(self.bus, service, path)

    def menu(self, timeout=TIMEOUT, before=()):
        self.start_panel()
        self.start(before)
        path, menu = self.item(timeout)
        self.assertNotEqual(path, "/NO_DBUSMENU")
        return menu

    def fills(self):
        if not os.path.exists(self.trace):
            return []
        with open(self.trace) as f:
            return [int(line.split()[1]) for line in f if line.startswith("menus ")]

    def test_panel_that_comes_after_the_program_gets_the_item_and_its_menu(self):
        self.start()
        # The menu is filled before the program looks for a tray: it is waiting now.
        self.assertTrue(wait_for(self.fills, timeout=TIMEOUT), "the program did not start")
        self.assertIsNone(self.portmaven.poll())
        self.start_panel()
        path, menu = self.item()
        self.assertNotEqual(path, "/NO_DBUSMENU", "the item exports no menu")
        self.assertEqual(label(menu.layout()[-1]), "Exit")

    def test_layout_without_asking_lists_ports_and_commands_and_follows_a_plug(self):
        self.write_commands(("Record", "/bin/true"), ("Other", "/bin/false"))
        self.plugger.do("add 11")
        menu = self.menu()
        # As GNOME's extension reads it: fetched once, no AboutToShow.
        level = menu.layout()
        names = [re.search(r"tty\w+", label(p)).group(0) for p in ports_of(level)]
        self.assertEqual(names, ["ttyACM%d" % i for i in range(11)] + ["ttyUSB0"])
        self.assertEqual([e[1].get("type", "standard") for e in level[-4:]],
                         ["separator", "standard", "standard", "standard"])
        self.assertEqual([label(e) for e in level[-3:]], ["Properties", "About Portmaven", "Exit"])
        for port in ports_of(level):
            # The commands from the start, then the port's own entries after a separator and
            # its details line.
            children = [label(c) for c in port[2]]
            self.assertEqual(children[:3], ["Record", "Other", ""], label(port))
            self.assertEqual(children[4:], ["Copy Port Name", "Port Settings…", "Hide Port"],
                             label(port))

        def updates():
            return self.panel.seen(lambda e: "layout_updated" in e and e["sender"] == self.sender)

        before = len(updates())
        self.plugger.do("plug")
        self.assertTrue(wait_for(lambda: len(updates()) > before, timeout=TIMEOUT),
                        "plugging a port sent no LayoutUpdated")
        self.assertTrue(wait_for(lambda: find(ports_of(menu.layout()), "ttyUSB1"), timeout=TIMEOUT),
                        "the plugged port is not in the layout")
        self.assertEqual([label(c) for c in find(ports_of(menu.layout()), "ttyUSB1")[2]][:2],
                         ["Record", "Other"])

    def test_asked_before_showing_each_time_the_menu_has_the_ports_of_that_moment(self):
        menu = self.menu()
        for round in range(50):
            self.plugger.do("plug" if round % 2 == 0 else "unplug")
            # As KDE and XFCE do on a right click: AboutToShow(0), then the layout.
            menu.about_to_show()
            ports = [label(p) for p in ports_of(menu.layout())]
            self.assertEqual(len(ports), 2 if round % 2 == 0 else 1, "round %d: %s" % (round, ports))
        fills = self.fills()
        self.assertGreaterEqual(len(fills), 50)
        # One port more or less is one menu more or less; every fill deletes what it replaces.
        self.assertLessEqual(max(fills) - min(fills), 1, "menus after each fill: %s" % fills)

    def test_clicked_command_runs_on_its_port_and_exit_saves_and_ends(self):
        recorder = os.path.join(HERE, "recorder.sh")
        self.write_commands(("Record", '"%s" %%PORT%%' % recorder))
        self.plugger.do("plug")
        menu = self.menu()
        ports = ports_of(menu.layout())
        self.assertEqual(len(ports), 2)
        usb1_record = find(find(ports, "ttyUSB1")[2], "Record")[0]
        # The port goes: the menu is filled again, and the old entry must not run on another.
        self.plugger.do("unplug")
        menu.about_to_show()
        self.assertEqual(len(ports_of(menu.layout())), 1)
        menu.click(usb1_record)
        self.assertFalse(wait_for(lambda: os.path.exists(self.recorder_out), timeout=2),
                         "an entry of a port that went ran a command")

        menu.click(find(ports_of(menu.layout())[0][2], "Record")[0])
        self.assertTrue(wait_for(lambda: os.path.exists(self.recorder_out), timeout=TIMEOUT),
                        "the command did not start")
        with open(self.recorder_out) as f:
            self.assertEqual(f.read().splitlines(), [self.home, "/dev/ttyUSB0"])

        os.remove(self.command_file)
        menu.click(find(menu.layout(), "^Exit$")[0])
        self.assertEqual(self.portmaven.wait(TIMEOUT), 0)
        with open(self.command_file, "rb") as f:
            self.assertEqual([r[0] for r in command_records(f.read())], ["Record"])

    def test_plugged_port_gives_one_notice_whose_click_opens_nothing(self):
        self.menu()
        self.plugger.do("plug")
        notice = self.panel.wait(lambda e: "notify" in e)
        self.assertIsNotNone(notice, "plugging a port sent no notice")
        self.assertEqual(notice["notify"]["summary"], "Serial port connected")
        self.assertIn("/dev/ttyUSB1", notice["notify"]["body"])
        self.assertEqual(len(self.panel.seen(lambda e: "notify" in e)), 1)
        # Qt reports any notice's action on the bus as a click on the program's own.
        self.panel.invoke(1, "default")
        self.assertFalse(wait_for(self.shown_windows, timeout=3),
                         "a click on the notice opened a window")
        self.assertIsNone(self.portmaven.poll())

    def test_a_boards_notice_offers_its_default_command_and_runs_it_on_that_board(self):
        recorder = os.path.join(HERE, "recorder.sh")
        self.write_commands(("Other", "/bin/false"), ("Record", '"%s" %%PORT%%' % recorder))
        with open(self.settings_file, "w") as f:
            f.write("[Devices]\nusb%3A10c4%3Aea60%7Ccommand=Record\n")
        self.menu()
        self.plugger.do("board A1")
        notice = self.panel.notices(1)
        self.assertIsNotNone(notice, "plugging the board sent no notice")
        self.assertEqual(notice[0]["actions"], ["default", "", "run-default-command", "Record"])
        # Another program's notice with the same action runs nothing; ours does.
        self.panel.invoke(notice[0]["id"] + 100, "run-default-command")
        self.assertFalse(wait_for(lambda: os.path.exists(self.recorder_out), timeout=2))
        self.panel.invoke(notice[0]["id"], "run-default-command")
        self.assertTrue(wait_for(lambda: os.path.exists(self.recorder_out), timeout=TIMEOUT),
                        "the notice's button ran nothing")
        with open(self.recorder_out) as f:
            self.assertEqual(f.read().splitlines(), [self.home, "/dev/ttyUSB1"])

    def test_notices_are_the_programs_own_and_a_burst_replaces_the_one_shown(self):
        self.menu()
        self.plugger.do("plug")
        first = self.panel.notices(1)
        self.assertIsNotNone(first, "plugging a port sent no notice")
        first = first[0]
        self.assertEqual((first["app"], first["icon"], first["desktop_entry"], first["urgency"],
                          first["timeout"], first["replaces"]),
                         ("Portmaven", "portmaven", "portmaven", 1, -1, 0))
        installed = glob.glob("/usr/share/icons/hicolor/*/apps/portmaven.*")
        self.assertEqual(first["image_data"], not installed, "the icon's picture travels along "
                         "exactly when the theme has none")
        # A body cut after a few words still names the port.
        self.assertRegex(first["body"], r"^/dev/ttyUSB1 \u00b7 \S")
        self.assertEqual(first["actions"][0::2], ["default"])
        # The item never turns into an attention picture for a notice.
        self.assertEqual(str(self.item_properties.Get(ITEM, "Status")), "Active")

        # While it is shown, the next notice takes its place; once closed, a new one comes.
        self.plugger.do("unplug")
        second = self.panel.notices(2)
        self.assertIsNotNone(second, "unplugging sent no notice")
        self.assertEqual((second[1]["summary"], second[1]["replaces"], second[1]["id"]),
                         ("Serial port removed", first["id"], first["id"]))
        self.panel.close_notice(first["id"])
        self.plugger.do("plug")
        third = self.panel.notices(3)
        self.assertIsNotNone(third, "plugging again sent no notice")
        self.assertEqual(third[2]["replaces"], 0)
        self.assertNotEqual(third[2]["id"], first["id"])
        # Another program's notice clicked, and ours: neither does anything to the program.
        self.panel.invoke(third[2]["id"] + 100, "default")
        self.panel.invoke(third[2]["id"], "default")
        self.assertFalse(wait_for(self.shown_windows, timeout=3))
        self.assertIsNone(self.portmaven.poll())
        self.assertEqual(str(self.item_properties.Get(ITEM, "Status")), "Active")

    def test_entries_that_stay_keep_their_ids_and_a_group_click_runs_on_its_port(self):
        recorder = os.path.join(HERE, "recorder.sh")
        self.write_commands(("Record", '"%s" %%PORT%%' % recorder))
        menu = self.menu()

        def ids(level):
            return {label(e): (e[0], ids(e[2])) for e in level}

        before = ids(menu.layout())
        self.plugger.do("plug")
        self.assertTrue(wait_for(lambda: len(ports_of(menu.layout())) == 2, timeout=TIMEOUT))
        after = ids(menu.layout())
        # The port that stayed and the program's own entries are the entries a panel holds.
        for name, entry in before.items():
            self.assertEqual(after.get(name), entry, name)
        usb1 = find(ports_of(menu.layout()), "ttyUSB1")
        record = find(usb1[2], "^Record$")[0]
        self.assertEqual(menu.labels_of([usb1[0], record]),
                         {usb1[0]: label(usb1), record: "Record"})
        self.assertEqual(menu.click_group([record, 999999]), [999999])
        self.assertTrue(wait_for(lambda: os.path.exists(self.recorder_out), timeout=TIMEOUT),
                        "the command did not start")
        with open(self.recorder_out) as f:
            self.assertEqual(f.read().splitlines()[1], "/dev/ttyUSB1")

    def test_switched_off_notices_reach_no_service_while_the_tooltip_follows(self):
        with open(self.settings_file, "w") as f:
            f.write("[Notifications]\nNotifyPortChanges=false\n")
        self.menu()
        self.plugger.do("plug")

        def tooltip():
            return str(self.item_properties.Get(ITEM, "ToolTip")[3])

        self.assertTrue(wait_for(lambda: "/dev/ttyUSB1" in tooltip(), timeout=TIMEOUT),
                        "the item's tooltip did not follow the plug: %s" % tooltip())
        # The notice would go out with the tooltip, in the same pass over the ports.
        self.assertFalse(wait_for(lambda: self.panel.seen(lambda e: "notify" in e), timeout=2),
                         "a notice went out with notices switched off")

    def test_names_from_data_read_as_written_in_the_panel(self):
        self.write_commands(("flash_esp32", "/bin/true"), ("Build & Flash", "/bin/true"))
        # The adapter the plugger starts with, named by the user. It tells no USB ids, so it is
        # known by its port: "port:/dev/ttyUSB0", whose "/" the store writes as %2F and the INI
        # file's "%" as %25.
        with open(self.settings_file, "w") as f:
            f.write("[Devices]\nport:%252Fdev%252FttyUSB0|name=Pico_probe\n")
        # The node as distributions leave it, someone else's and the dialout group's; the
        # program runs as root without the capabilities that pass by permissions, so that root
        # is a user outside the group.
        node = os.path.join(self.plugger.testbed, "dev", "ttyUSB0")
        os.chown(node, 65534, grp.getgrnam("dialout").gr_gid)
        os.chmod(node, 0o660)
        menu = self.menu(before=["setpriv", "--inh-caps=-all", "--bounding-set=-all"])
        menu.about_to_show()
        port = ports_of(menu.layout())[0]
        self.assertEqual(label(port), "Pico_probe (/dev/ttyUSB0)")
        self.assertEqual([label(c) for c in port[2][:2]], ["flash_esp32", "Build & Flash"])
        own = [(label(c), c[1].get("enabled", True)) for c in port[2][3:8]]
        self.assertEqual(own, [("no access: not in group dialout", False),
                               ("To fix: sudo usermod -aG dialout root", False),
                               ("Copy Port Name", True), ("Copy Fix Command", True),
                               ("Port Settings\u2026", True)])

        def unmarked(level):
            # No entry from data carries a mnemonic mark the panel would swallow.
            for entry in level:
                raw = entry[1].get("label", "")
                if "_" in raw.replace("__", ""):
                    return raw
                found = unmarked(entry[2])
                if found:
                    return found
            return None

        self.assertIsNone(unmarked(menu.layout()))

    def test_three_hundred_ports_are_all_reachable(self):
        self.plugger.do("add 299")
        # The program enumerates the ports and fills the menu twice before it registers the
        # item: seconds here, and several times that on a loaded machine.
        menu = self.menu(timeout=90)
        level = menu.layout()
        self.assertEqual(len(ports_of(level)), 300)
        self.assertEqual([label(e) for e in level[-3:]], ["Properties", "About Portmaven", "Exit"])
        self.assertLessEqual(len(level), 35, "too many entries on the first level")


class OnX11(Suite, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = Desktop(tray=False)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def platform_env(self):
        return {}

    def shown_windows(self):
        return [w for w in self.display.xdotool("search", "--onlyvisible", "--classname",
                                                "portmaven").split()]

    def test_activate_opens_the_menu_at_the_pointer(self):
        self.menu()
        self.display.xdotool("mousemove", "300", "200")
        # A left click on KDE and XFCE.
        self.item_object.Activate(300, 200)
        menus = wait_for(lambda: [w for w in self.display.windows(".*")
                                  if w.wid in self.shown_windows() and w.width > 50],
                         timeout=TIMEOUT)
        self.assertTrue(menus, "Activate opened no menu")
        self.assertTrue(abs(menus[0].x - 300) <= 5 and abs(menus[0].y - 200) <= 5,
                        "the menu is at %d,%d" % (menus[0].x, menus[0].y))
        self.display.keys("Escape")
        self.assertTrue(wait_for(lambda: not self.shown_windows(), timeout=5))

    def test_a_stuck_look_for_holders_holds_up_neither_the_menu_nor_exit(self):
        gate = os.path.join(self.root, "gate")
        held = gate + ".held"
        open(gate, "w").close()
        self.addCleanup(lambda: os.path.exists(gate) and os.remove(gate))
        # A terminal program holds the mocked port: "sleep", with the tty as its input.
        holder = subprocess.Popen(["umockdev-wrapper", "sh", "-c", "exec sleep 600 < /dev/ttyUSB0"],
                                  env=self.env)
        self.addCleanup(lambda: (holder.kill(), holder.wait()))
        self.preloads.append(PROC_GATE)
        self.env["PORTMAVEN_TEST_PROC_GATE"] = gate
        menu = self.menu()

        def details():
            """The greyed line after the separator below ttyUSB0's commands."""
            children = find(ports_of(menu.layout()), "ttyUSB0")[2]
            return children[[c[1].get("type") for c in children].index("separator") + 1]

        # A showing starts a look (one a second after the last at most), which gets stuck; the
        # panel has its answers meanwhile.
        def look_held():
            menu.about_to_show()
            return os.path.exists(held)

        self.assertTrue(wait_for(look_held, timeout=TIMEOUT), "no look for holders started")
        menu.about_to_show()
        line = details()
        self.assertNotIn("in use by", label(line))

        # Let go, the stuck look is too late to count; a look of a later showing names the
        # holder, and the panel hears of that one line.
        os.remove(gate)
        named = "in use by sleep (%d)" % holder.pid
        self.assertTrue(wait_for(lambda: (menu.about_to_show(), named in label(details()))[1],
                                 timeout=TIMEOUT), label(details()))
        self.assertEqual(details()[0], line[0])
        self.assertTrue(self.panel.seen(lambda e: line[0] in e.get("properties_updated", [])),
                        "no ItemsPropertiesUpdated for the details line")

        # Exit while a look is stuck ends the program cleanly.
        os.remove(held)
        open(gate, "w").close()
        self.assertTrue(wait_for(look_held, timeout=TIMEOUT))
        menu.click(find(menu.layout(), "^Exit$")[0])
        self.assertEqual(self.portmaven.wait(TIMEOUT), 0)


class Weston:
    """A headless Wayland compositor with its socket in a folder of its own."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="portmaven-weston-")
        os.chmod(self.folder, 0o700)
        self.socket = os.path.join(self.folder, "wayland-test")
        env = dict(os.environ, XDG_RUNTIME_DIR=self.folder)
        self.process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--socket=wayland-test", "--idle-time=0"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: os.path.exists(self.socket), timeout=TIMEOUT):
            self.close()
            raise RuntimeError("weston did not start")
        self.env = dict(os.environ, WAYLAND_DISPLAY=self.socket)
        self.env.pop("DISPLAY", None)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)
        shutil.rmtree(self.folder, True)


class OnWayland(Suite, unittest.TestCase):
    # The requests that give a surface a role on the screen.
    SURFACE_ROLES = re.compile(r"\.(get_toplevel|get_popup|get_shell_surface)\(")

    @classmethod
    def setUpClass(cls):
        cls.display = Weston()

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def platform_env(self):
        return {"QT_QPA_PLATFORM": "wayland", "WAYLAND_DEBUG": "client"}

    def wayland_log(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def shown_windows(self):
        return self.SURFACE_ROLES.findall(self.wayland_log())

    def test_activate_and_context_menu_show_no_surface(self):
        self.menu()
        self.assertIn("wl_display", self.wayland_log(), "the program is not on Wayland")
        self.item_object.Activate(300, 200)
        self.item_object.ContextMenu(300, 200)
        self.assertFalse(wait_for(self.shown_windows, timeout=3),
                         "a click on the item showed a surface")
        self.assertIsNone(self.portmaven.poll())


if __name__ == "__main__":
    PLUGGER = os.path.abspath(sys.argv.pop(2))
    PORTMAVEN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
