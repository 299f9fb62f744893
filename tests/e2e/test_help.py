"""Help from the real program reaches the help viewer: F1 asks for the main
topic of the help file beside the executable, closing tells the viewer to
quit. The viewer is tests/tools/help_recorder.exe, which owns a window of the
class Wine's WinHelpA sends its requests to and logs each request as
"<command> <data> <help file>". (The test prefix disables winhlp32.exe, so
without the recorder nothing would be shown or wait.) Without a help file
beside the executable, F1 opens the help page that lies there instead."""
import os
import subprocess
import unittest

from harness import EXE, HELP_CONTEXT, HELP_QUIT, HelpRecorder, ScopellaTestCase, wait_until, windows_path


class Help(ScopellaTestCase):
    def setUp(self):
        super().setUp()
        self.recorder = HelpRecorder(self.probe, os.path.join(self.workdir, "help.log"))

    def tearDown(self):
        self.recorder.stop()
        super().tearDown()

    def test_f1_opens_the_main_topic_and_closing_quits_the_viewer(self):
        # Started from another folder than its own: the help file is still
        # looked for beside the executable.
        help_file = windows_path(os.path.dirname(os.path.abspath(EXE))) + "\\Scopella.hlp>NormWin"
        app = self.launch()
        self.assertNotEqual(os.path.dirname(os.path.abspath(EXE)), app.cwd)
        app.key("F1")
        wait_until(self.recorder.requests, 10, what="a help request")
        self.assertEqual([(HELP_CONTEXT, 6, help_file)], self.recorder.requests())
        self.assertEqual(0, app.close())
        self.assertEqual([(HELP_CONTEXT, 6, help_file), (HELP_QUIT, 0, help_file)], self.recorder.requests())


class HelpPage(ScopellaTestCase):
    """Without a help file beside the executable, F1 opens the help page
    beside it in the browser. Wine opens web pages with winebrowser, which
    tries the programs of its Browsers list: here one that records its
    arguments."""

    def setUp(self):
        super().setUp()
        self.opened_log = os.path.join(self.workdir, "opened.txt")
        opener = os.path.join(self.workdir, "record-page.sh")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\necho \"$@\" >> '%s'\n" % self.opened_log)
        os.chmod(opener, 0o755)
        self.browsers("add", "/t", "REG_SZ", "/d", opener)

    def tearDown(self):
        self.browsers("delete")
        super().tearDown()

    @staticmethod
    def browsers(verb, *args):
        subprocess.run(["wine", "reg", verb, r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/f"] + list(args),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def opened(self):
        if not os.path.exists(self.opened_log):
            return []
        with open(self.opened_log) as f:
            return f.read().split()

    def test_f1_opens_the_help_page_beside_the_executable(self):
        folder = os.path.dirname(os.path.abspath(EXE))
        self.assertFalse(os.path.exists(os.path.join(folder, "Scopella.hlp")))
        page = os.path.join(folder, "Scopella.html")
        self.assertTrue(os.path.isfile(page))
        app = self.launch()
        app.key("F1")
        wait_until(self.opened, 15, what="the help page opened")
        self.assertEqual(["file://" + page], self.opened())
        # Closing asks nothing more of help.
        self.assertEqual(0, app.close())
        self.assertEqual(["file://" + page], self.opened())


if __name__ == "__main__":
    unittest.main()
