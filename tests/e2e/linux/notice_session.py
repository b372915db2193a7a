"""The real portmaven on a private desktop (desktop.py) whose serial ports a port_plugger
process changes while it runs: both see one umockdev testbed, the plugger through the
library, portmaven through umockdev's preload, and the plugger's uevents reach portmaven's udev
monitor as the kernel's would.

How a notice is seen: trayer is an XEmbed tray, and Qt sends notices to the desktop's
notification service (org.freedesktop.Notifications) only when its icon is a StatusNotifierItem,
that is when a StatusNotifierWatcher is on the session bus. With an XEmbed tray Qt shows its own
balloon instead, a tooltip-type window of the program, so that is what the tests watch for: a
fake notification service would never be called on this desktop, and passing it would prove
nothing."""
import os
import shutil
import subprocess
import tempfile

from desktop import TRAY_SIZE, UserSession, command_record, wait_for

# A menu opens once the program has looked up who holds each port open, through every open
# file of every process on the machine: seconds when a loaded machine has many.
MENU_TIMEOUT = 30

# The clock ticks (utime + stime) a process has used, from /proc/<pid>/stat.
def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        # The command name, in parentheses, may hold blanks; the fields follow its end.
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


class Plugger:
    """port_plugger: owns the testbed with ttyUSB0 present; plug, unplug, change, burst N."""

    def __init__(self, plugger_binary):
        self.process = subprocess.Popen(
            ["umockdev-wrapper", plugger_binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            text=True)
        word, _, self.testbed = self.process.stdout.readline().strip().partition(" ")
        if word != "ready":
            self.close()
            raise RuntimeError("port_plugger did not start")

    def do(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        if answer != "ok":
            raise RuntimeError("port_plugger: %s: %s (exit status %s)"
                               % (command, answer or "no answer", self.process.poll()))

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            # A guard against a hang only: the plugger removes its testbed as it ends, which
            # takes seconds with hundreds of ports and several times that on a loaded machine.
            self.process.wait(90)
        self.process.stdout.close()


class NoticeSession:
    """One portmaven with its own folders and testbed on the given desktop; its commands, when
    given, as (name, command line) pairs, and more of its environment in env."""

    def __init__(self, desktop, portmaven, plugger_binary, notify=None, commands=(), **env):
        self.desktop = desktop
        self.root = tempfile.mkdtemp(prefix="portmaven-notices-")
        self.plugger = Plugger(plugger_binary)
        user = UserSession(desktop, self.root, UMOCKDEV_DIR=self.plugger.testbed, **env)
        self.home = user.home
        self.settings_file = user.portmaven_file("portmaven.conf")
        if notify is not None:
            with open(self.settings_file, "w") as f:
                f.write("[Notifications]\nNotifyPortChanges=%s\n" % str(notify).lower())
        if commands:
            with open(user.portmaven_file("Portmaven.cfg"), "wb") as f:
                f.write(b"".join(command_record(*c) for c in commands))
        # Hovering the icon would show its tooltip, a window of the same type as the balloon.
        desktop.xdotool("mousemove", "400", "400")
        self.process = subprocess.Popen(["umockdev-wrapper", portmaven], env=user.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.plugger.close()
        shutil.rmtree(self.root, True)
        wait_for(lambda: not self.visible_windows(), timeout=5)

    def visible_windows(self):
        """(window, its _NET_WM_WINDOW_TYPE line) for portmaven's visible windows."""
        found = []
        for wid in self.desktop.xdotool("search", "--onlyvisible", "--classname",
                                        "portmaven").split():
            kind = subprocess.run(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE"],
                                  env=self.desktop.env, capture_output=True, text=True).stdout
            geometry = dict(line.partition("=")[::2] for line in self.desktop.xdotool(
                "getwindowgeometry", "--shell", wid).splitlines())
            if "WIDTH" in geometry:
                found.append(({key: int(geometry[key]) for key in ("X", "Y", "WIDTH", "HEIGHT")},
                              kind))
        return found

    def tray_icon(self):
        return [g for g, _ in self.visible_windows()
                if g["X"] + g["WIDTH"] <= TRAY_SIZE + 2 and g["Y"] + g["HEIGHT"] <= TRAY_SIZE + 2]

    def balloon(self):
        return [g for g, kind in self.visible_windows()
                if "TOOLTIP" in kind and g["WIDTH"] > TRAY_SIZE]

    def menu(self):
        # Qt marks its menus as plain override-redirect windows: larger than the icon, no tooltip.
        return [g for g, kind in self.visible_windows()
                if "TOOLTIP" not in kind and g["WIDTH"] > TRAY_SIZE]
