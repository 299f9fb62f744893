"""A long run at the fast rate in follow mode with the grid on, the pointer
moving, selection and highlight in turns, copies and saves every few seconds: the
program's GDI and USER objects, windows, handles and private memory may not
grow without bound (a fitted slope, not a threshold). SCOPELLA_SOAK_SECONDS
sets the length."""
import os
import unittest

from harness import ScopellaTestCase, windows_path
from reliability import SOAK_SEEDS, Soak, seeds
from settings_rules import settings_faults


class Soaking(ScopellaTestCase):
    def test_resources_stay_bounded_over_the_run(self):
        self.write_settings(Update=4, MouseTracking=b"\1", ShowGrid=b"\1",
                            InitialDirectory=windows_path(self.workdir))
        for seed in seeds(SOAK_SEEDS):
            app = self.launch()
            faults, figures = Soak(self.probe, app, seed, self.workdir).run(
                int(os.environ.get("SCOPELLA_SOAK_SECONDS", "180")))
            # Wine 8 counts no USER objects (todo_wine): the process's windows stand in.
            self.assertEqual([], faults, "seed %d" % seed)
            self.assertEqual(0, app.close())
            self.assertEqual([], settings_faults(self.probe.registry()))


if __name__ == "__main__":
    unittest.main()
