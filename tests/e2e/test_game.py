"""The whole game seen from outside: the scene on screen, the score line, walking, the exits."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402
from fyrel_e2e import Game, mean_difference, rgb  # noqa: E402

WIDTH, HEIGHT = 1024, 768
SCENE_TOP = 40  # rows below the score line, where only the scene is drawn


def read_score(picture, length):
    return e2e.read_text(picture, e2e.SCORE_X, e2e.SCORE_TOP, length)


def score_difference(picture, text):
    return e2e.text_difference(picture, e2e.SCORE_X, e2e.SCORE_TOP, text)


def scene(picture):
    """The scene below the score line, scaled down to 128 x 90 pixels."""
    return rgb(picture, "-crop", "%dx%d+0+%d" % (WIDTH, HEIGHT - SCENE_TOP, SCENE_TOP), "+repage",
               "-scale", "128x91!")


def home_planet(picture):
    """The middle of the alien's planet, which the camera holds below the alien."""
    return rgb(picture, "-crop", "120x120+452+400", "+repage")


def swap_red_blue(pixels):
    swapped = bytearray(pixels)
    swapped[0::3], swapped[2::3] = pixels[2::3], pixels[0::3]
    return bytes(swapped)


class TheGame(unittest.TestCase):
    def test_scene_score_walking_and_escape(self):
        capture_dir = tempfile.mkdtemp(prefix="fyrel-capture-")
        self.addCleanup(shutil.rmtree, capture_dir, True)
        # The capture hook saves the first frame, which shows the score after one update.
        with Game({"FYREL_CAPTURE_DIR": capture_dir}) as game:
            game.wait_first_frame()
            first = game.screenshot("game_start")
            # The camera settles behind the alien during the first second; after that, idle
            # for as long as W is held below (the orbits move the planets either way).
            game.run_for(1.5)
            settled = game.screenshot("game_settled")
            game.run_for(1.5)
            still = game.screenshot("game_still")
            game.run_for(1.5)
            still_later = game.screenshot("game_still_later")
            with game.hold("w"):
                game.run_for(1.5)
            walked = game.screenshot("game_walked")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        # The log threshold is raised before the window opens: a clean run prints nothing.
        self.assertEqual(game.stdout, "")

        with self.subTest("the scene is on screen"):
            pixels = rgb(first)
            count = WIDTH * HEIGHT
            black = sum(1 for i in range(0, len(pixels), 3) if pixels[i:i + 3] == b"\0\0\0")
            bright = sum(1 for i in range(0, len(pixels), 3) if max(pixels[i:i + 3]) >= 120)
            colours = len(set(pixels[i:i + 3] for i in range(0, len(pixels), 3)))
            # The sky sphere covers the clear colour; planets are large bright discs.
            self.assertLess(black, count * 0.2, "mostly clear colour: no sky")
            self.assertGreater(colours, 2000, "too few colours for a textured scene")
            self.assertGreater(bright, count * 0.02, "nothing bright: no planets")

        with self.subTest("the score line reads 'fyrel: 8 von 8'"):
            self.assertEqual(read_score(first, 14), "fyrel: 8 von 8")
            right = score_difference(first, "fyrel: 8 von 8")
            self.assertLess(right, 25, "the glyphs differ from the font pictures")
            self.assertLess(right * 1.5, score_difference(first, "fyrel: 7 von 8"))

        with self.subTest("holding W walks the alien: the view turns"):
            # The camera keeps the alien's planet in the middle of the window. Standing still,
            # nothing changes there (the orbits move other planets elsewhere); walking turns
            # the planet's surface under the alien and the whole sky around it. An orb on the
            # home planet may hop away while the alien stands: of two idle spans, the stiller.
            idle = min(mean_difference(home_planet(settled), home_planet(still)),
                       mean_difference(home_planet(still), home_planet(still_later)))
            moved = mean_difference(home_planet(still_later), home_planet(walked))
            self.assertGreater(moved, 3, "the planet did not turn (idle: %.2f)" % idle)
            self.assertGreater(moved, 4 * idle + 1)
            self.assertGreater(mean_difference(scene(still_later), scene(walked)), 8,
                               "the picture hardly changed")

        with self.subTest("the captured first frame is the frame on screen"):
            start = os.path.join(capture_dir, "start.png")
            size = subprocess.run(["identify", "-format", "%wx%h", start], capture_output=True,
                                  text=True, check=True).stdout
            self.assertEqual(size, "1024x768")
            self.assertEqual(read_score(start, 14), "fyrel: 8 von 8")
            captured, shown = scene(start), scene(first)
            self.assertLess(mean_difference(captured, shown),
                            mean_difference(swap_red_blue(captured), shown))

    def test_missing_alien_model_is_fatal(self):
        run_dir = os.path.join(tempfile.mkdtemp(prefix="fyrel-run-"), "run")
        self.addCleanup(shutil.rmtree, os.path.dirname(run_dir), True)
        shutil.copytree(e2e.RUN_DIR, run_dir)
        os.remove(os.path.join(run_dir, "alien.dae"))
        with Game(run_dir=run_dir) as game:
            self.assertEqual(game.wait(), 1, game.stderr)
        fatal = [line for line in game.stdout.splitlines() if line.startswith("FATAL")]
        self.assertEqual(len(fatal), 1, game.stdout)
        self.assertIn('"alien.dae"', fatal[0])


if __name__ == "__main__":
    unittest.main(verbosity=2)
