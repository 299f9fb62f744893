"""What a user gets: Scopella installed for a Linux user (make install, make
uninstall) and packaged for Windows (make package), each started for real."""
import glob
import os
import struct
import subprocess
import sys
import unittest
import zipfile

from harness import PREFIX, Scopella, ScopellaTestCase, wait_until

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from pe_version import file_version  # noqa: E402

VERSION = (1, 8, 0, 0)


def make(target, **env):
    environment = dict(os.environ, **env)
    environment.pop("PREFIX", None)
    environment.pop("XDG_DATA_HOME", None)
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


class Install(ScopellaTestCase):
    def test_install_gives_a_command_and_a_menu_entry_and_uninstall_leaves_nothing(self):
        home = os.path.join(self.workdir, "home")
        os.makedirs(home)
        # The command runs Scopella in the test prefix, not in one of its own.
        os.environ["SCOPELLA_WINEPREFIX"] = PREFIX
        self.addCleanup(os.environ.pop, "SCOPELLA_WINEPREFIX")
        make("install", HOME=home)

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

        self.write_settings(SingleInstance=b"\1")
        app = self.launch(command=[command])
        second = Scopella(self.probe, self.workdir, [command]).start(wait=False)
        self.assertEqual(0, second.wait_exit(30))
        self.assertEqual([app.hwnd], self.probe.windows())
        self.assertEqual(0, app.close())

        # Settings are not the program: uninstalling keeps Scopella's own prefix
        # (here one made by hand, as prepare-prefix marks it) and says where.
        settings = os.path.join(home, ".local/share/scopella/wineprefix/user.reg")
        os.makedirs(os.path.dirname(settings))
        with open(os.path.join(os.path.dirname(settings), ".scopella-run-2"), "w"):
            pass
        with open(settings, "w") as f:
            f.write("[Software\\Brindle\\Scopella\\1]\n")
        said = make("uninstall", HOME=home)
        self.assertIn(os.path.dirname(settings), said)
        self.assertEqual([settings], [os.path.join(d, n) for d, dirs, files in os.walk(home) for n in files
                                      if not n.startswith(".scopella")])
        make("uninstall", HOME=home, PURGE="1")
        self.assertEqual([], [os.path.join(d, n) for d, dirs, files in os.walk(home) for n in dirs + files])


class Package(ScopellaTestCase):
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

        setup = subprocess.run(["wine", os.path.join(dist, "scopella-1.8-setup-x64.exe"), "/S"],
                               capture_output=True, timeout=120)
        self.assertEqual(0, setup.returncode)
        installed = glob.glob(os.path.join(PREFIX, "drive_c/users/*/AppData/Local/Programs/Scopella"))
        self.assertEqual(1, len(installed))
        folder = installed[0]
        menu = glob.glob(os.path.join(PREFIX, "drive_c/users/*/AppData/Roaming/Microsoft/Windows/"
                                              "Start Menu/Programs/Scopella/Scopella.lnk"))
        self.assertEqual(1, len(menu))
        self.assertEqual(VERSION, file_version(os.path.join(folder, "uninstall.exe")))
        self.assertEqual(0, self.launch(command=["wine", os.path.join(folder, "scopella.exe")]).close())

        # The uninstaller runs on from a copy of itself, so that it can remove itself.
        subprocess.run(["wine", os.path.join(folder, "uninstall.exe"), "/S"], capture_output=True, timeout=120)
        wait_until(lambda: not os.path.exists(folder) and not os.path.exists(os.path.dirname(menu[0])), 60,
                   what="the installed program and its menu removed")


if __name__ == "__main__":
    unittest.main()
