"""Random real input (fixed seeds; SCOPELLA_SEED replays a run) over the window
and its pop-ups, with a watchdog for crashes, hangs and exits; Alt+F4 at the
end closes the program, which leaves 32 sane settings values."""
import os
import unittest

from harness import ScopellaTestCase, windows_path
from reliability import MONKEY_SEEDS, Monkey, seeds, stand_in_browser
from settings_rules import settings_faults


class RandomInput(ScopellaTestCase):
    def test_thousands_of_random_events_neither_crash_nor_hang_nor_end_the_program(self):
        self.addCleanup(stand_in_browser(self.workdir))
        self.write_settings(InitialDirectory=windows_path(self.workdir))
        for seed in seeds(MONKEY_SEEDS):
            app = self.launch()
            monkey = Monkey(self.probe, app, seed)
            code = monkey.run(int(os.environ.get("SCOPELLA_MONKEY_EVENTS", "6000")))
            print("monkey: %d events, seed %d" % (monkey.input.events, seed))
            self.assertEqual(0, code)
            self.assertEqual([], settings_faults(self.probe.registry()), "seed %d" % seed)
        # Files go only where the settings point.
        self.assertTrue(all(f.endswith((".bmp", ".sh", ".txt")) for f in os.listdir(self.workdir)))


if __name__ == "__main__":
    unittest.main()
