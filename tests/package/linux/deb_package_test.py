"""The Debian package, made by CPack in the build tree: it builds, lists the files a desktop
needs, passes lintian without errors, and the binary unpacked from it starts in a tray under
Xvfb and names itself in the autostart entry that Configure writes.

Run by ctest: deb_package_test.py <build tree>"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e", "linux"))
from desktop import TRAY_SIZE, Desktop, wait_for  # noqa: E402

BUILD = None
EXPECTED = [
    "./usr/bin/portmaven",
    "./usr/share/applications/portmaven.desktop",
    "./usr/share/doc/portmaven/README.md",
    "./usr/share/doc/portmaven/copyright",
    "./usr/share/doc/portmaven/changelog.gz",
    "./usr/share/man/man1/portmaven.1.gz",
] + ["./usr/share/icons/hicolor/%dx%d/apps/portmaven.png" % (s, s) for s in (16, 24, 32, 48, 64, 128, 256)]


class DebPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.mkdtemp(prefix="portmaven-deb-", dir=BUILD)
        subprocess.run(["cpack", "-G", "DEB", "-B", cls.out], cwd=BUILD, check=True,
                       stdout=subprocess.DEVNULL)
        debs = glob.glob(os.path.join(cls.out, "portmaven_*_amd64.deb"))
        if len(debs) != 1:
            raise RuntimeError("cpack made %s" % debs)
        cls.deb = debs[0]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, True)

    def dpkg_deb(self, *args):
        return subprocess.run(["dpkg-deb", *args], capture_output=True, text=True,
                              check=True).stdout

    def test_name_fields_and_contents(self):
        self.assertRegex(os.path.basename(self.deb), r"^portmaven_\d+\.\d+\.\d+_amd64\.deb$")
        fields = self.dpkg_deb("--field", self.deb, "Package", "Section", "Maintainer",
                               "Depends")
        self.assertIn("Package: portmaven", fields)
        self.assertIn("Section: utils", fields)
        # From dpkg-shlibdeps: the libraries the binary really links.
        for library in ("libqt6widgets6", "libudev1", "libc6"):
            self.assertIn(library, fields)
        listed = [line.split()[-1] for line in self.dpkg_deb("--contents", self.deb).splitlines()]
        for path in EXPECTED:
            self.assertIn(path, listed)

    def test_desktop_entry(self):
        root = tempfile.mkdtemp(dir=self.out)
        self.dpkg_deb("-x", self.deb, root)
        with open(os.path.join(root, "usr/share/applications/portmaven.desktop")) as f:
            entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
        self.assertEqual(entry["Exec"], "portmaven")
        self.assertEqual(entry["Icon"], "portmaven")
        self.assertEqual(entry["Categories"], "Utility;Development;")
        self.assertEqual(entry["StartupNotify"], "false")
        for key in ("Name", "Comment"):
            self.assertTrue(entry.get(key))

    def test_lintian_finds_no_error(self):
        result = subprocess.run(["lintian", "--fail-on", "error", self.deb], capture_output=True,
                                text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_unpacked_binary_starts_in_the_tray_and_autostarts_itself(self):
        root = tempfile.mkdtemp(dir=self.out)
        self.dpkg_deb("-x", self.deb, root)
        binary = os.path.join(root, "usr/bin/portmaven")
        desktop = Desktop()
        self.addCleanup(desktop.close)
        env = dict(desktop.env, QT_QPA_PLATFORM="xcb")
        for name in ("HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"):
            env[name] = os.path.join(root, name.lower())
            os.makedirs(env[name], mode=0o700)
        program = subprocess.Popen([binary], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(program.wait)
        self.addCleanup(program.kill)
        icon = wait_for(lambda: [w for w in desktop.windows("^Portmaven$")
                                 if w.width <= TRAY_SIZE + 2 and w.height <= TRAY_SIZE + 2])
        self.assertTrue(icon, "the unpacked program showed no tray icon")
        time.sleep(3)
        self.assertIsNone(program.poll(), "the unpacked program ended")

        # Properties (third from the end of the menu), then "Launch Portmaven On Startup" and
        # Close (the default button). The box is the upper of the two at the dialog's bottom
        # left; Qt's widgets are not X windows, so it is found by its place.
        desktop.click(*icon[0].center())
        self.assertTrue(wait_for(lambda: [w for w in desktop.windows("^Portmaven$")
                                          if w.width > TRAY_SIZE], timeout=5), "no menu")
        desktop.keys("Up", "Up", "Up", "Return")
        dialog = wait_for(lambda: desktop.windows("^Configure \u2014 Portmaven$"), timeout=5)
        self.assertTrue(dialog, "Properties opened no Configure dialog")
        dialog = dialog[0]
        desktop.click(dialog.x + 18, dialog.y + dialog.height - 47)
        time.sleep(0.3)
        desktop.keys("Return")
        entry_file = os.path.join(env["XDG_CONFIG_HOME"], "autostart", "portmaven.desktop")
        self.assertTrue(wait_for(lambda: os.path.exists(entry_file), timeout=5),
                        "no autostart entry")
        with open(entry_file) as f:
            entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
        self.assertEqual(entry["Exec"], '"%s"' % binary)


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main()
