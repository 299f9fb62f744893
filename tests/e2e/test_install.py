"""What a user gets: Scopella installed for a Linux user (make install, make
uninstall) and packaged for Windows (make package), each started for real."""
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path
from unittest import mock

from chrome_support import Chrome
from dialog_support import close_box, key, message_box
from harness import PREFIX, SC_MINIMIZE, WM_SYSCOMMAND, Probe, Scopella, ScopellaTestCase, wait_until, xdotool
from test_imaging import clipboard, png_rows
from viewshot import ViewGeometry, ViewTestCase, rect_bytes
from xdesktop import start_solid_window

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from pe_version import file_version  # noqa: E402

VERSION = (1, 8, 0, 0)
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Scopella"


def make(target, **env):
    environment = dict(os.environ)
    environment.pop("PREFIX", None)
    environment.pop("XDG_DATA_HOME", None)
    environment.update(env)
    done = subprocess.run(["make", "-s", target], cwd=ROOT, env=environment, capture_output=True, text=True,
                          timeout=900)
    if done.returncode != 0:
        raise AssertionError("make %s failed:\n%s%s" % (target, done.stdout, done.stderr))
    return done.stdout


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">II", header[16:24])


def in_wayland(command, errors):
    """The command as in a Wayland session (no compositor runs), its standard error into a file."""
    return ["sh", "-c", 'WAYLAND_DISPLAY=wayland-0 exec "$0" 2>"$1"', command, errors]


ORANGE = (255, 128, 0)


class Install(ScopellaTestCase):
    def copy_with_an_x_program_focused(self, command, app):
        """The copy commands for the desktop's key bindings copy what the
        hotkeys would while another X program has the focus."""
        other = start_solid_window(os.path.join(self.workdir, "other"), (700, 500, 400, 300), ORANGE)
        self.addCleanup(other.stop)
        xdotool("mousemove", "--sync", 900, 650)  # over the other program, at the zoom point
        xdotool("windowfocus", "--sync", other.ready)
        wait_until(lambda: "255,128,000" in Chrome(app).pane(1)["text"], 10, what="the colour readout")
        self.assertEqual(other.ready, int(xdotool("getwindowfocus")))
        self.assertEqual(0, subprocess.run([command, "--copy-colour"], timeout=30).returncode)
        wait_until(lambda: clipboard("UTF8_STRING") == b"255,128,0", 10, what="the colour text")
        self.assertEqual(0, subprocess.run([command, "--copy-view"], timeout=30).returncode)
        png = wait_until(lambda: clipboard("image/png"), 10, what="the view as PNG")
        view, rows = ViewGeometry(self.probe, app.hwnd, self.screen, 4), png_rows(self, png)
        self.assertEqual(((view.width, view.height), {ORANGE}),
                         ((len(rows[0]), len(rows)), {p for row in rows for p in row}))

        # Nothing copied (clipboard held, window minimised): exit code 4, the clipboard kept.
        self.probe("clipset", "kept")
        self.assertTrue(self.probe("cliphold")["ok"])
        held = subprocess.run([command, "--copy-view"], capture_output=True, text=True, timeout=30)
        self.probe("cliprelease")
        self.probe.send(app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE)
        wait_until(lambda: app.info()["iconic"], 10, what="the window minimised")
        minimised = subprocess.run([command, "--copy-view"], capture_output=True, text=True, timeout=30)
        self.assertEqual([(4, "Scopella copied nothing: the clipboard is in use by another program.\n"),
                          (4, "Scopella copied nothing: its window is minimised.\n")],
                         [(held.returncode, held.stderr), (minimised.returncode, minimised.stderr)])
        self.assertEqual(b"kept", clipboard("UTF8_STRING"))

    def test_install_gives_a_command_and_a_menu_entry_and_uninstall_leaves_nothing(self):
        # A home and a PREFIX with characters that shells, sed and desktop entries take for their own.
        home = os.path.join(self.workdir, "o'neil & co | home")
        os.makedirs(home)
        places = dict(HOME=home, PREFIX=os.path.join(home, ".local"))
        # The command runs Scopella in the test prefix, not in one of its own.
        os.environ["SCOPELLA_WINEPREFIX"] = PREFIX
        self.addCleanup(os.environ.pop, "SCOPELLA_WINEPREFIX")
        marker = os.path.join(PREFIX, ".scopella-wayland-note")
        remove_marker = lambda: os.path.exists(marker) and os.remove(marker)  # noqa: E731
        remove_marker()  # left by an interrupted run
        self.addCleanup(remove_marker)
        make("install", **places)

        command = os.path.join(home, ".local/bin/scopella")
        entry = os.path.join(home, ".local/share/applications/scopella.desktop")
        validated = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True, timeout=30)
        self.assertEqual(0, validated.returncode, validated.stdout + validated.stderr)
        with open(entry) as f:
            lines = f.read().splitlines()
        self.assertIn('Exec="%s"' % command, lines)
        self.assertIn("Icon=scopella", lines)
        for size in (16, 32, 64, 128):
            icon = os.path.join(home, ".local/share/icons/hicolor/%dx%d/apps/scopella.png" % (size, size))
            self.assertEqual((size, size), png_size(icon))

        # In a Wayland session the first start says on standard error and in a box what it cannot see.
        self.write_settings(SingleInstance=b"\1", ZoomFactor=4, ZoomPoint=rect_bytes(900, 650))
        errors = [os.path.join(self.workdir, "errors-%d" % i) for i in (1, 2)]
        app = self.launch(wait=False, command=in_wayland(command, errors[0]))
        _, texts = message_box(self.probe, 0, timeout=60)
        said = Path(errors[0]).read_text()
        self.assertIn("Wayland", said)
        self.assertEqual([said.strip()], texts)
        key("Return")
        app.wait_window(30)
        self.assertTrue(os.path.exists(marker))
        # Said once: the second start (which ends, SingleInstance) says nothing.
        second = Scopella(self.probe, self.workdir, in_wayland(command, errors[1])).start(wait=False)
        self.assertEqual(0, second.wait_exit(30))
        self.assertEqual("", Path(errors[1]).read_text())
        self.assertEqual([app.hwnd], self.probe.windows())
        self.copy_with_an_x_program_focused(command, app)
        self.assertEqual(0, close_box(app))  # the X focus is the other program's
        alone = subprocess.run([command, "--copy-colour"], capture_output=True, text=True, timeout=60)
        self.assertEqual((1, "Scopella is not running: start it first, then copy with it.\n"),
                         (alone.returncode, alone.stderr))

        # Settings are not the program: uninstalling keeps Scopella's own prefix
        # (here one made by hand, as prepare-prefix marks it) and says where.
        settings = os.path.join(home, ".local/share/scopella/wineprefix/user.reg")
        os.makedirs(os.path.dirname(settings))
        with open(os.path.join(os.path.dirname(settings), ".scopella-run-2"), "w"):
            pass
        with open(settings, "w") as f:
            f.write("[Software\\Brindle\\Scopella\\1]\n")
        said = make("uninstall", **places)
        self.assertIn(os.path.dirname(settings), said)
        # Wine runs nothing from a folder named with "|": the command's link in the prefix goes too.
        self.assertFalse(os.path.lexists(os.path.join(PREFIX, "drive_c/Program Files/Scopella")))
        self.assertEqual([settings], [os.path.join(d, n) for d, dirs, files in os.walk(home) for n in files
                                      if not n.startswith(".scopella")])
        make("uninstall", PURGE="1", **places)
        self.assertEqual([], [os.path.join(d, n) for d, dirs, files in os.walk(home) for n in dirs + files])


class Package(ViewTestCase):
    def test_zip_and_installer_give_a_program_that_starts(self):
        dist = os.path.join(self.workdir, "dist")
        make("package", SCOPELLA_DIST=dist,
             SCOPELLA_PACKAGE_FROM="%s:%s" % (os.path.join(ROOT, "build"), os.path.join(ROOT, "build-win32")))

        unpacked = os.path.join(self.workdir, "unpacked")
        with zipfile.ZipFile(os.path.join(dist, "scopella-1.8-portable.zip")) as archive:
            archive.extractall(unpacked)
        folder = os.path.join(unpacked, "Scopella-1.8")
        for name in ("README.txt", "LICENSE.txt", "x64/scopella.exe", "x86/scopella.exe", "x64/Scopella.html"):
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
        programs = glob.glob(os.path.join(folder, "*", "*.exe")) + glob.glob(os.path.join(folder, "*", "*.dll"))
        programs += glob.glob(os.path.join(dist, "*.exe"))
        for program in programs:
            self.assertEqual(VERSION, file_version(program), program)
        x64 = os.path.join(folder, "x64")
        self.assertEqual(0, self.launch(command=["wine", os.path.join(x64, "scopella.exe")], cwd=x64).close())

        self.run_installer(os.path.join(dist, "scopella-1.8-setup-x64.exe"), x64)

    def run_installer(self, setup, packed):
        """The 64-bit installer, silent, in a fresh prefix of its own (the
        32-bit one cannot run here: no 32-bit Wine): what it installs, the
        program it installed, and what its uninstaller leaves."""
        prefix = tempfile.mkdtemp(prefix="scopella-setup-")
        self.addCleanup(shutil.rmtree, prefix, ignore_errors=True)
        subprocess.run([os.path.join(ROOT, "scripts", "prepare-prefix.sh"), prefix, "test"], check=True, timeout=300,
                       stdout=subprocess.DEVNULL)
        with mock.patch.dict(os.environ, WINEPREFIX=prefix):
            self.addCleanup(subprocess.run, ["wineserver", "-k"], env=dict(os.environ), timeout=30)
            probe = self.probe = Probe()  # the test's own probe: Wine's desktop runs meanwhile
            try:
                # Wine's desktop and services start now, not with the installer:
                # they would keep its output open.
                probe.windows()
                self.assertEqual(0, subprocess.run(["wine", setup, "/S"], stdout=subprocess.DEVNULL,
                                                   stderr=subprocess.DEVNULL, timeout=120).returncode)
                user = glob.glob(os.path.join(prefix, "drive_c/users/*/AppData"))[0]
                folder = os.path.join(user, "Local/Programs/Scopella")
                menu = os.path.join(user, "Roaming/Microsoft/Windows/Start Menu/Programs/Scopella")
                self.assertEqual(["LICENSE.txt", "PANX.dll", "README.txt", "Scopella.html", "scopella.exe",
                                  "uninstall.exe"], sorted(os.listdir(folder)))
                for name in ("scopella.exe", "PANX.dll", "uninstall.exe"):
                    self.assertEqual(VERSION, file_version(os.path.join(folder, name)), name)
                self.assertEqual(read(os.path.join(packed, "scopella.exe")), read(os.path.join(folder, "scopella.exe")))
                self.assertEqual(["Scopella.lnk", "Uninstall Scopella.lnk"], sorted(os.listdir(menu)))
                location = "C:" + folder[len(prefix) + len("/drive_c"):].replace("/", "\\")
                self.assertEqual({"DisplayName": "Scopella", "DisplayVersion": "1.8", "Publisher": "Brindle",
                                  "DisplayIcon": location + "\\scopella.exe", "InstallLocation": location,
                                  "UninstallString": '"%s\\uninstall.exe"' % location,
                                  "QuietUninstallString": '"%s\\uninstall.exe" /S' % location,
                                  "NoModify": "0x1", "NoRepair": "0x1"}, apps_entry())

                # The installed program starts and paints the screen it magnifies.
                app, view = self.start(4, (300, 200), command=["wine", os.path.join(folder, "scopella.exe")])
                self.assert_picture(view, (300, 200))
                self.assertEqual(0, app.close())

                # The uninstaller runs on from a copy of itself, so that it can
                # remove itself: done when the prefix's last process ends.
                probe.close()
                subprocess.run(["wine", os.path.join(folder, "uninstall.exe"), "/S"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=120)
                subprocess.run(["wineserver", "-w"], timeout=120)
                self.assertEqual([], os.listdir(os.path.dirname(folder)))
                self.assertFalse(os.path.exists(menu))
                probe = self.probe = Probe()
                probe.windows()  # Wine's desktop started by the probe, as above
                self.assertIsNone(apps_entry())
                self.assertIsNotNone(probe.registry())  # the settings stay
            finally:
                probe.close()
                del self.probe


def apps_entry():
    """The values of Scopella's entry in the installed programs list, or None."""
    query = subprocess.run(["wine", "reg", "query", UNINSTALL_KEY], capture_output=True, text=True, timeout=60)
    if query.returncode != 0:
        return None
    values = [line.strip().split(None, 2) for line in query.stdout.splitlines() if "    REG_" in line]
    return {v[0]: v[2] if len(v) > 2 else "" for v in values}


def read(path):
    with open(path, "rb") as f:
        return f.read()

if __name__ == "__main__":
    unittest.main()
