"""Help from the real program reaches the help viewer: F1 asks for the main
topic of the help file beside the executable, closing tells the viewer to
quit. The viewer is tests/tools/help_recorder.exe, which owns a window of the
class Wine's WinHelpA sends its requests to and logs each request as
"<command> <data> <help file>". (The test prefix disables winhlp32.exe, so
without the recorder nothing would be shown or wait.)"""
import os
import subprocess
import unittest

from harness import EXE, TOOLS, WM_CLOSE, ScopellaTestCase, wait_until

HELP_CONTEXT, HELP_QUIT = 1, 2


def windows_path(unix_path):
    """The name Wine gives a Unix path: drive Z: is the Unix root."""
    return "Z:" + unix_path.replace("/", "\\")


class Help(ScopellaTestCase):
    def setUp(self):
        super().setUp()
        self.log = os.path.join(self.workdir, "help.log")
        self.recorder = subprocess.Popen(["wine", os.path.join(TOOLS, "help_recorder.exe"), windows_path(self.log)],
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        self.recorder_window = wait_until(lambda: (self.probe.windows("MS_WINHELP") or [None])[0], 15,
                                          what="the help recorder's window")

    def tearDown(self):
        # The recorder always stops: asked first, then ended.
        self.probe.post(self.recorder_window, WM_CLOSE)
        try:
            self.recorder.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.recorder.kill()
            self.recorder.wait(timeout=10)
        super().tearDown()

    def requests(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="latin-1") as f:
            return [line.rstrip("\n") for line in f]

    def test_f1_opens_the_main_topic_and_closing_quits_the_viewer(self):
        # Started from another folder than its own: the help file is still
        # looked for beside the executable.
        help_file = windows_path(os.path.dirname(os.path.abspath(EXE))) + "\\Scopella.hlp>NormWin"
        app = self.launch()
        self.assertNotEqual(os.path.dirname(os.path.abspath(EXE)), app.cwd)
        app.key("F1")
        wait_until(lambda: self.requests(), 10, what="a help request")
        self.assertEqual(["%d 6 %s" % (HELP_CONTEXT, help_file)], self.requests())
        self.assertEqual(0, app.close())
        self.assertEqual(["%d 6 %s" % (HELP_CONTEXT, help_file), "%d 0 %s" % (HELP_QUIT, help_file)],
                         self.requests())


if __name__ == "__main__":
    unittest.main()
