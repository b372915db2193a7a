"""The menu a StatusNotifierItem panel asks for, as KDE and XFCE do on a right click: the time
from AboutToShow(0) to the answer of GetLayout, for portmaven with 32 mocked ports and 20
commands against a bare exported QMenu of the same shape (bare_sni_menu), first on an idle
system, then with 500 processes holding 100 open files each (descriptor_holders), which the
program's look for the ports' holders goes through at each showing. Both run on Xvfb with the
tests' stand-in panel on a private session bus. Prints the medians and their ratios.

The bare menu has no pictures. Where the icon theme lacks the names the program asks for (a
bare Xvfb: hicolor only), every entry carries its picture as PNG data, and the time goes into
the panel's decoding of those; XDG_CURRENT_DESKTOP=GNOME gives both programs a desktop's theme
(Adwaita), as users have.

Run by hand, with Debian's python3 (python3-dbus):
  XDG_CURRENT_DESKTOP=GNOME dbus-run-session -- /usr/bin/python3 bench/linux/sni_menu_bench.py \\
      build/native-only/bin/portmaven build/native-only/bench/linux/bare_sni_menu \\
      build/native-only/tests/e2e/linux/port_plugger \\
      build/native-only/bench/linux/descriptor_holders [rounds]"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(HERE, "..", "..", "tests", "e2e", "linux")
sys.path.insert(0, E2E)
import dbus  # noqa: E402
from desktop import Desktop, UserSession, wait_for  # noqa: E402
from notice_session import Plugger  # noqa: E402
from sni_e2e_test import ExportedMenu, Panel, ITEM  # noqa: E402
from tray_e2e_test import command_record  # noqa: E402

PORTS = 32
COMMANDS = 20
HOLDERS = 500
DESCRIPTORS = 100


def exported_menu(bus, panel, count):
    items = wait_for(lambda: len(panel.seen(lambda e: "item" in e)) >= count, timeout=30)
    if not items:
        raise RuntimeError("no item registered")
    service = panel.seen(lambda e: "item" in e)[count - 1]["item"]
    properties = dbus.Interface(bus.get_object(service, "/StatusNotifierItem"),
                                dbus.PROPERTIES_IFACE)
    return ExportedMenu(bus, service, str(properties.Get(ITEM, "Menu")))


def timed(menu):
    start = time.perf_counter()
    menu.about_to_show()
    menu.layout()
    return (time.perf_counter() - start) * 1e6


def measure(ours, baseline, rounds):
    ours_times, bare_times = [], []
    for _ in range(rounds):
        # Interleaved, so that a busy moment of the machine hits both alike.
        ours_times.append(timed(ours))
        bare_times.append(timed(baseline))
    return statistics.median(ours_times), statistics.median(bare_times)


def start_holders(binary):
    holders = subprocess.Popen([binary, str(HOLDERS), str(DESCRIPTORS)], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
    if holders.stdout.readline().strip() != "ready":
        raise RuntimeError("the descriptor holders did not start")
    return holders


def main():
    portmaven, bare, plugger_binary, holders_binary = (os.path.abspath(a) for a in sys.argv[1:5])
    rounds = int(sys.argv[5]) if len(sys.argv) > 5 else 200
    root = tempfile.mkdtemp(prefix="portmaven-sni-bench-")
    desktop = Desktop(tray=False)
    plugger = Plugger(plugger_binary)
    panel = Panel(dict(os.environ))
    processes = []
    holders = None
    try:
        plugger.do("add %d" % (PORTS - 1))
        user = UserSession(desktop, root, UMOCKDEV_DIR=plugger.testbed,
                           DBUS_SESSION_BUS_ADDRESS=os.environ["DBUS_SESSION_BUS_ADDRESS"])
        with open(user.portmaven_file("Portmaven.cfg"), "wb") as f:
            f.write(b"".join(command_record("Command %d" % i, "/bin/true %PORT%")
                             for i in range(COMMANDS)))
        bus = dbus.SessionBus()
        processes.append(subprocess.Popen(["umockdev-wrapper", portmaven], env=user.env,
                                          stderr=subprocess.DEVNULL))
        ours = exported_menu(bus, panel, 1)
        processes.append(subprocess.Popen([bare], env=user.env, stderr=subprocess.DEVNULL))
        baseline = exported_menu(bus, panel, 2)
        shape = [len(ours.layout()), len(baseline.layout())]
        if shape[0] != shape[1]:
            raise RuntimeError("the menus differ in shape: %s" % shape)
        idle = measure(ours, baseline, rounds)
        holders = start_holders(holders_binary)
        busy = measure(ours, baseline, rounds)
        print("AboutToShow(0) to GetLayout, %d ports x %d commands, median of %d rounds:"
              % (PORTS, COMMANDS, rounds))
        for name, (ours_median, bare_median) in (("idle", idle), ("%d processes x %d files"
                                                                   % (HOLDERS, DESCRIPTORS), busy)):
            print("  %s: portmaven %.0f us, bare exported QMenu %.0f us, ratio %.2fx"
                  " (goal <= 1.2x)" % (name, ours_median, bare_median, ours_median / bare_median))
        print("  portmaven with those processes against without: %.2fx" % (busy[0] / idle[0]))
    finally:
        if holders is not None:
            holders.stdin.close()
            holders.wait()
        for process in processes:
            process.kill()
            process.wait()
        panel.close()
        plugger.close()
        desktop.close()
        shutil.rmtree(root, True)


if __name__ == "__main__":
    main()
