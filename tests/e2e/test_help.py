"""Help from the real program reaches the help viewer: F1 asks for the main
topic of the help file beside the executable, closing tells the viewer to
quit. The viewer is tests/tools/help_recorder.exe, which owns a window of the
class Wine's WinHelpA sends its requests to and logs each request as
"<command> <data> <help file>". (The test prefix disables winhlp32.exe, so
without the recorder nothing would be shown or wait.)"""
import os
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


if __name__ == "__main__":
    unittest.main()
