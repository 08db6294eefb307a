"""Starting and ending the game, through the real window and process."""

import os
import re
import signal
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402
from fyrel_e2e import Game  # noqa: E402

QUIET = {"SDL_AUDIODRIVER": "dummy"}


def wait_until(condition, game, problem):
    deadline = time.monotonic() + e2e.TIMEOUT
    while not condition():
        game._check_alive(deadline, problem)
        time.sleep(0.05)


def our_lines(stderr):
    """The game's own lines on standard error, but for the missing sound device."""
    return [line for line in stderr.splitlines()
            if line.startswith("fyrel:") and "no audio device" not in line]


def signals_caught(pid):
    """Bit mask of the signals the process handles, from /proc."""
    with open("/proc/%d/status" % pid) as status:
        return int(re.search(r"^SigCgt:\s*([0-9a-f]+)", status.read(), re.M).group(1), 16)


class FullScreen(unittest.TestCase):
    def test_f11_fills_the_screen_and_goes_back_to_the_window_where_it_was(self):
        screen = (0, 0) + e2e.screen_size()
        with Game(QUIET) as game:
            game.wait_first_frame()
            windowed = game.geometry()
            self.assertEqual(windowed[2:], (1024, 768))
            game.key("F11")
            wait_until(lambda: game.geometry() == screen, game, "F11 did not fill the screen")
            game.wait_frames(2)
            # The frame covers the whole screen, not just the window's old corner of it.
            game.screenshot("launch_fullscreen")
            right = "%dx%d+1024+0" % (screen[2] - 1024, screen[3])
            self.assertGreater(e2e.drawn_share(game.picture(), right), 0.5)
            game.key("F11")
            wait_until(lambda: game.geometry() == windowed, game, "F11 did not go back")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        self.assertEqual(our_lines(game.stderr), [])


class Ending(unittest.TestCase):
    def test_an_escape_tap_as_the_window_opens_ends_the_run_with_0(self):
        # Pressed and released at once, before or during the first frames: never held in a frame.
        with Game(QUIET) as game:
            game.window()
            game.key("Escape")
            self.assertEqual(game.wait(), 0, game.stderr)
        e2e.assert_log(game.stdout, e2e.STARTUP + e2e.SHUTDOWN)

    def test_sigint_and_sigterm_end_the_run_like_the_close_button_with_128_plus_the_signal(self):
        # SIGINT while frames run; SIGTERM as soon as the game handles it, long before the first
        # frame: start-up completes, one frame is drawn, and the run ends.
        for number, status in ((signal.SIGINT, 130), (signal.SIGTERM, 143)):
            with self.subTest(signal=number.name), Game(QUIET) as game:
                if number == signal.SIGINT:
                    game.wait_first_frame()
                else:
                    wait_until(lambda: signals_caught(game.process.pid) >> (number - 1) & 1,
                               game, "SIGTERM is never handled")
                game.process.send_signal(number)
                self.assertEqual(game.wait(), status, game.stderr)
            e2e.assert_log(game.stdout, e2e.STARTUP + e2e.SHUTDOWN)
            self.assertEqual(our_lines(game.stderr), [])


class DataFolder(unittest.TestCase):
    def test_started_from_the_source_tree_it_reads_its_files_from_beside_itself(self):
        # The source tree holds the shaders, but not the game's other files.
        with Game(dict(QUIET, FYREL_MAX_FRAMES="5"), cwd=e2e.SOURCE_DIR) as game:
            self.assertEqual(game.wait(), 0, game.stderr)
        self.assertEqual(game.stdout, "")
        self.assertEqual(our_lines(game.stderr), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
