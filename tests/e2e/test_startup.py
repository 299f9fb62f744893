"""Start-up and shut-down of the real program: the first start, the saved
placement, the single-instance rule, and settings that survive damage."""
import unittest

from harness import REG_BINARY, REG_SZ, SC_MINIMIZE, WM_SYSCOMMAND, ScopellaTestCase, dword, ints, wait_until
from settings_rules import VALUES, settings_faults, table_rows_without_rule

class FirstStart(ScopellaTestCase):
    def test_first_start_opens_default_window_and_saves_every_value(self):
        app = self.launch()
        info = app.info()
        self.assertEqual("ScopellaMainWnd", info["class"])
        self.assertEqual("Scopella", info["title"])
        left, top, right, bottom = info["rect"]
        self.assertEqual((450, 250), (right - left, bottom - top))
        self.assertEqual(0, app.close())

        saved = self.probe.registry()
        self.assertEqual(set(VALUES), set(saved))
        for name, (type_, size) in VALUES.items():
            self.assertEqual((type_, size), (saved[name][0], len(saved[name][1])), name)
        self.assertEqual(info["rect"], ints(saved["WindowPos"][1]))
        self.assertEqual([0, 0], ints(saved["ZoomPoint"][1]))
        folder = saved["InitialDirectory"][1].split(b"\0")[0].decode("latin-1")
        profile = self.probe("documents")["userprofile"]
        self.assertTrue(folder.lower().startswith(profile.lower()), folder)
        self.assertTrue(folder.rstrip("\\").lower().endswith("documents"), folder)
        self.assertEqual(3, dword(saved["ZoomFactor"][1]))


class Placement(ScopellaTestCase):
    def test_second_start_opens_at_the_saved_rectangle(self):
        self.write_settings(WindowPos=self.rect_bytes(200, 150, 700, 450))
        app = self.launch()
        self.assertEqual([200, 150, 700, 450], app.info()["rect"])
        self.assertEqual(0, app.close())
        self.assertEqual([200, 150, 700, 450], ints(self.probe.registry()["WindowPos"][1]))

    def test_closing_maximised_keeps_the_normal_rectangle(self):
        self.write_settings(WindowPos=self.rect_bytes(120, 100, 620, 400))
        app = self.launch()
        # A double click on the caption maximises the window.
        left, top, right, _ = app.info()["rect"]
        app.focus()
        self.xdotool_click(left + (right - left) // 3, top + 8, repeat=2)
        wait_until(lambda: app.info()["zoomed"], 5, what="the window maximised")
        self.assertEqual(0, app.close())
        self.assertEqual([120, 100, 620, 400], ints(self.probe.registry()["WindowPos"][1]))

    def test_zoom_point_survives_a_run(self):
        # The window object takes the zoom point from the loaded settings.
        self.write_settings(ZoomPoint=self.rect_bytes(300, 200)[:8])
        app = self.launch()
        self.assertEqual(0, app.close())
        self.assertEqual([300, 200], ints(self.probe.registry()["ZoomPoint"][1]))

    @staticmethod
    def rect_bytes(*values):
        return b"".join(v.to_bytes(4, "little", signed=True) for v in values)

    def xdotool_click(self, x, y, repeat=1):
        from harness import xdotool
        xdotool("mousemove", "--sync", x, y)
        xdotool("click", "--repeat", repeat, "--delay", 80, 1)


class Instances(ScopellaTestCase):
    def test_single_instance_brings_the_first_forward_and_exits(self):
        self.write_settings(SingleInstance=b"\x01")
        first = self.launch()
        self.probe.post(first.hwnd, WM_SYSCOMMAND, SC_MINIMIZE)
        wait_until(lambda: first.info()["iconic"], 5, what="the first window minimised")

        second = self.launch(wait=False)
        self.assertEqual(0, second.wait_exit(20))
        wait_until(lambda: not first.info()["iconic"], 5, what="the first window restored")
        self.assertEqual([first.hwnd], self.probe.windows())
        self.assertEqual(0, first.close())

    def test_without_single_instance_several_run_side_by_side(self):
        first = self.launch()
        second = self.launch()
        self.assertNotEqual(first.hwnd, second.hwnd)
        self.assertEqual(2, len(self.probe.windows()))
        for app in (second, first):
            app.probe.post(app.hwnd, 0x0010)  # WM_CLOSE
            self.assertEqual(0, app.wait_exit())


class DamagedSettings(ScopellaTestCase):
    """Every row damaged in one way at a time: the program starts, works and
    writes sane values back."""

    def run_with(self, write_damage):
        self.probe.delete_key()
        for name in VALUES:
            write_damage(name)
        app = self.launch()
        info = app.info()
        self.assertTrue(info["visible"])
        left, top, right, bottom = info["rect"]
        self.assertGreater(right - left, 0)
        self.assertGreater(bottom - top, 0)
        # The readout timer runs: the coordinates pane fills in.
        wait_until(lambda: app.status_text(3)["text"].strip(), 5, what="the coordinates readout")
        self.assertEqual(0, app.close())
        self.check_sane(self.probe.registry())

    def check_sane(self, saved):
        self.assertEqual([], table_rows_without_rule(), "README's Settings table and the rules the tests use")
        self.assertEqual([], settings_faults(saved))

    def test_values_too_large(self):
        self.run_with(lambda name: self.probe.set_value(name, REG_BINARY, b"\x07" * (VALUES[name][1] + 9)))

    def test_values_of_the_wrong_type_and_size(self):
        self.run_with(lambda name: self.probe.set_value(name, REG_SZ, b"nonsense\0"))

    def test_values_out_of_range(self):
        def damage(name):
            type_, size = VALUES[name]
            if name == "InitialDirectory":
                self.probe.set_value(name, REG_SZ, b"x" * 260)  # no terminator
            elif size == 1:
                self.probe.set_value(name, REG_BINARY, b"\xff")
            else:
                self.probe.set_value(name, type_, b"\xf0" * size)  # large negative numbers
        self.run_with(damage)

    def test_values_too_short(self):
        self.run_with(lambda name: self.probe.set_value(name, REG_BINARY, b"\x09"[:min(1, VALUES[name][1] - 1)]))


if __name__ == "__main__":
    unittest.main()
