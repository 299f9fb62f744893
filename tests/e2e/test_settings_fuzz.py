"""Damaged settings, a few hundred starts in a row: each start with random
types, sizes and bytes in random values (or the key removed) reaches a
painted window, and each exit writes 32 sane values back. Now and then the
key is made unreadable: the program starts with its defaults, and the values
stay as they were (registry failures are silent, and nothing is lost).
The test command runs the fixed seeds of reliability.FUZZ_SEEDS; 'make fuzz'
a fresh one."""
import os
import random
import unittest

from harness import EXE, WM_CLOSE, Scopella, ScopellaTestCase
from reliability import FUZZ_SEEDS, damage_settings, say, seeds
from settings_rules import settings_faults


class SettingsFuzz(ScopellaTestCase):
    def test_every_start_with_damaged_settings_paints_and_writes_back_sane_values(self):
        starts = int(os.environ.get("SCOPELLA_FUZZ_STARTS", "75"))
        self.addCleanup(self.unlock)
        for seed in seeds(FUZZ_SEEDS):
            self.starts(seed, starts)

    def starts(self, seed, starts):
        say("settings fuzz: seed %d, %d starts" % (seed, starts))
        rng = random.Random(seed)
        locks = 0
        for number in range(starts):
            locked = number > 0 and rng.random() < 0.05
            if locked:
                # A value the program would correct shows that it wrote nothing.
                self.probe.set_dword("ZoomFactor", 1000)
                kept = self.probe.registry()
                self.probe("reglock", 1)
                what = "key unreadable"
                locks += 1
            else:
                what = damage_settings(self.probe, rng)
            where = "start %d of seed %d (%s)" % (number, seed, what)
            # Wine's and the program's own error output, for a start that fails.
            app = Scopella(self.probe, self.workdir, ["sh", "-c", 'exec wine "$0" 2>>errors.txt', EXE])
            self.started.append(app)
            try:
                app.start()  # a visible window whose tool band has settled: painted
            except AssertionError as error:
                with open(os.path.join(self.workdir, "errors.txt"), errors="replace") as log:
                    raise AssertionError("%s: %s\n%s" % (where, error, log.read()[-2000:]))
            self.probe.post(app.hwnd, WM_CLOSE)
            self.assertEqual(0, app.wait_exit(), where)
            if locked:
                self.probe("reglock", 0)
                self.assertEqual(kept, self.probe.registry(), where)
            else:
                self.assertEqual([], settings_faults(self.probe.registry()), where)
            self.started.remove(app)
        say("settings fuzz: %d starts, %d of them with the key unreadable" % (starts, locks))

    def unlock(self):
        try:
            self.probe("reglock", 0)
        except AssertionError:
            pass  # no key


if __name__ == "__main__":
    unittest.main()
