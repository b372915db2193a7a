"""A private X desktop for tests and demos: Xvfb on a free display number, trayer as the
XEmbed system tray at the top-left corner, and xdotool to drive it; a user's own folders for
the program that runs on it, and a test case whose tests share one desktop."""
import os
import re
import subprocess
import tempfile
import time
import unittest

TRAY_SIZE = 32
RECORD_BYTES = 2560
NAME_BYTES = 512


def command_record(name, command):
    """One record of the command file, as the program writes it."""
    name_bytes = name.encode("utf-16-le")
    command_bytes = command.encode("utf-16-le")
    return (name_bytes.ljust(NAME_BYTES, b"\0") +
            command_bytes.ljust(RECORD_BYTES - NAME_BYTES, b"\0"))


def wait_for(predicate, timeout=15.0, interval=0.1):
    """The predicate's first true value, or None after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            return None
        time.sleep(interval)


class Window:
    def __init__(self, wid, name, x, y, width, height):
        self.wid, self.name = wid, name
        self.x, self.y, self.width, self.height = x, y, width, height

    def center(self):
        return self.x + self.width // 2, self.y + self.height // 2


class Desktop:
    """With tray=False, a desktop without an XEmbed tray: where a StatusNotifierItem host
    stands in for the panel."""

    def __init__(self, width=800, height=600, tray=True):
        read_end, write_end = os.pipe()
        # -displayfd: the server picks a free display itself, so engineers' servers never clash.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            self.xvfb.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.width, self.height = width, height
        self.trayer = None
        if not tray:
            return
        # trayer has been seen not to come up on a loaded machine now and then; a second start
        # goes through, and its own words say why the first did not.
        complaints = []
        log = tempfile.TemporaryFile()
        for _ in range(3):
            self.trayer = subprocess.Popen(
                ["trayer", "--edge", "top", "--align", "left", "--widthtype", "pixel",
                 "--width", str(TRAY_SIZE), "--heighttype", "pixel", "--height",
                 str(TRAY_SIZE), "--transparent", "false"],
                env=self.env, stdout=subprocess.DEVNULL, stderr=log)
            if wait_for(lambda: self.trayer.poll() is not None or self.windows("panel"),
                        timeout=30) and self.trayer.poll() is None:
                return
            self.trayer.kill()
            self.trayer.wait()
            log.seek(0)
            complaints.append(log.read().decode(errors="replace").strip() or "no panel")
            log.seek(0)
            log.truncate()
        self.close()
        raise RuntimeError("trayer did not start: %s" % " | ".join(complaints))

    def close(self):
        for process in (self.trayer, self.xvfb):
            if process is not None and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        return result.stdout

    def windows(self, name_pattern):
        """Visible windows whose whole name matches the regular expression, with their
        geometry. Names are matched here: xdotool's own matching misses some windows."""
        found = []
        for wid in self.xdotool("search", "--onlyvisible", "--name", "").split():
            name = self.xdotool("getwindowname", wid).strip()
            if not re.fullmatch(name_pattern, name):
                continue
            geometry = {}
            for line in self.xdotool("getwindowgeometry", "--shell", wid).splitlines():
                key, _, value = line.partition("=")
                geometry[key] = int(value) if value.lstrip("-").isdigit() else value
            if "WIDTH" in geometry:
                found.append(Window(wid, name, geometry["X"], geometry["Y"], geometry["WIDTH"],
                                    geometry["HEIGHT"]))
        return found

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(x), str(y), "click", str(button))

    def keys(self, *names):
        for name in names:
            self.xdotool("key", name)
            time.sleep(0.15)

    def window_type(self, window):
        """The window's _NET_WM_WINDOW_TYPE line, e.g. "... _NET_WM_WINDOW_TYPE_DIALOG"."""
        return subprocess.run(["xprop", "-id", window.wid, "_NET_WM_WINDOW_TYPE"],
                              env=self.env, capture_output=True, text=True).stdout

    def screenshot(self, path, crop=None, windows=None):
        """The screen as a PNG; crop = (x, y, width, height). With windows, the pixels of the
        crop outside all their areas, bare screen, become transparent."""
        command = ["import", "-window", "root"]
        if crop:
            command += ["-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage"]
        subprocess.run(command + [path], env=self.env, check=True)
        if crop and windows:
            left, top = crop[0], crop[1]
            areas = ["rectangle %d,%d %d,%d" % (w.x - left, w.y - top, w.x - left + w.width - 1,
                                                 w.y - top + w.height - 1) for w in windows]
            # The windows' areas, white on black, become the picture's opacity.
            mask = ["(", "-size", "%dx%d" % (crop[2], crop[3]), "xc:black", "-fill", "white"]
            for area in areas:
                mask += ["-draw", area]
            subprocess.run(["convert", path, *mask, ")", "-alpha", "off", "-compose",
                            "CopyOpacity", "-composite", path], check=True)


class UserSession:
    """A user's own home, configuration and runtime folders below root, and the environment
    that runs a Qt program on the desktop with them."""

    def __init__(self, desktop, root, **env):
        self.home, self.config, self.runtime = (
            os.path.join(root, name) for name in ("home", "config", "runtime"))
        for folder in (self.home, self.config, self.runtime):
            os.makedirs(folder, mode=0o700)
        self.env = dict(desktop.env, HOME=self.home, XDG_CONFIG_HOME=self.config,
                        XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="xcb")
        self.env.update(env)

    def portmaven_file(self, name):
        """The path of one of portmaven's own files, with its folder made."""
        folder = os.path.join(self.config, "portmaven")
        os.makedirs(folder, exist_ok=True)
        return os.path.join(folder, name)


class DesktopTestCase(unittest.TestCase):
    """The tests of a class share one desktop: starting Xvfb and trayer takes seconds."""

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()
