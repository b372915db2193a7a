"""The menu a StatusNotifierItem panel asks for, as KDE and XFCE do on a right click: the time
from AboutToShow(0) to the answer of GetLayout, for portmaven with 32 mocked ports and 20
commands against a bare exported QMenu of the same shape (bare_sni_menu). Both run on Xvfb
with the tests' stand-in panel on a private session bus. Prints the medians and their ratio.

Run by hand, with Debian's python3 (python3-dbus):
  dbus-run-session -- /usr/bin/python3 bench/linux/sni_menu_bench.py \\
      build/native-only/bin/portmaven build/native-only/bench/linux/bare_sni_menu \\
      build/native-only/tests/e2e/linux/port_plugger [rounds]"""
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


def main():
    portmaven, bare, plugger_binary = (os.path.abspath(a) for a in sys.argv[1:4])
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 200
    root = tempfile.mkdtemp(prefix="portmaven-sni-bench-")
    desktop = Desktop(tray=False)
    plugger = Plugger(plugger_binary)
    panel = Panel(dict(os.environ))
    processes = []
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
        ours_times, bare_times = [], []
        for _ in range(rounds):
            # Interleaved, so that a busy moment of the machine hits both alike.
            ours_times.append(timed(ours))
            bare_times.append(timed(baseline))
        ours_median = statistics.median(ours_times)
        bare_median = statistics.median(bare_times)
        print("AboutToShow(0) to GetLayout, %d ports x %d commands, median of %d rounds:"
              % (PORTS, COMMANDS, rounds))
        print("  portmaven %.0f us, bare exported QMenu %.0f us, ratio %.2fx (goal <= 1.2x)"
              % (ours_median, bare_median, ours_median / bare_median))
    finally:
        for process in processes:
            process.kill()
            process.wait()
        panel.close()
        plugger.close()
        desktop.close()
        shutil.rmtree(root, True)


if __name__ == "__main__":
    main()
