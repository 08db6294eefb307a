"""Hostile files, the short run: for each kind of file the game reads (picture, font picture,
model, shader, sound, window icon) one file missing, empty, cut in half, random and of another
kind.
The whole suite is `make hostile` (tests/e2e/hostile_files.py)."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import hostile_files as hostile  # noqa: E402


class HostileFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.results = {(r.case.kind, r.case.damage): r
                       for r in hostile.run_suite(hostile.subset_cases(), hostile.e2e.RUN_DIR)}
        print("\n" + hostile.report(list(cls.results.values())), file=sys.stderr)

    def check_kind(self, kind):
        for damage in hostile.DAMAGES:
            result = self.results[(kind, damage)]
            with self.subTest(damage=damage, file=result.case.path):
                self.assertEqual(result.problems, [],
                                 "\n--- stdout\n%s--- stderr\n%s" % (result.stdout, result.stderr))

    def test_pictures_leave_the_object_untextured_and_say_so(self):
        self.check_kind("picture")

    def test_font_pictures_leave_the_glyph_empty_and_say_so(self):
        self.check_kind("font")

    def test_an_unusable_alien_model_stops_start_up(self):
        self.check_kind("model")

    def test_broken_shaders_are_reported_and_the_game_goes_on(self):
        self.check_kind("shader")

    def test_broken_sounds_leave_the_game_silent(self):
        self.check_kind("sound")

    def test_broken_icons_leave_the_window_without_that_size(self):
        self.check_kind("icon")

    def test_the_decoder_names_the_picture_cut_in_half(self):
        # Half a JPEG decodes with its missing part grey: the only sign is the decoder's line.
        result = self.results[("picture", "truncated")]
        self.assertNotIn("Texture loading failed!", result.stdout)
        self.assertIn("Premature end of JPEG file", result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
