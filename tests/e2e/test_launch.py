"""Starting and ending the game: full screen, the command line, the data folder, signals and a
quick Escape tap, through the real window and process."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402
from fyrel_e2e import Game, wait_until  # noqa: E402

QUIET = {"SDL_AUDIODRIVER": "dummy"}
FYREL = os.path.join(e2e.RUN_DIR, "fyrel")


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


class OversizedWindow(unittest.TestCase):
    def test_a_window_far_beyond_the_screen_opens_at_the_screen_size_and_stays_light(self):
        screen = e2e.screen_size()
        with Game(QUIET, args=["--window", "16384x16384"]) as game:
            game.wait_first_frame()
            self.assertEqual(game.geometry()[2:], screen)
            with open("/proc/%d/status" % game.process.pid) as status:
                peak_kib = int(re.search(r"^VmHWM:\s*(\d+) kB", status.read(), re.M).group(1))
            # Some 0.45 GiB at 1920 x 1080; at the size asked for it would be about 10 GiB.
            self.assertLess(peak_kib, 1 << 20)
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        self.assertIn("fyrel: a window of 16384x16384 does not fit the screen; it opens at "
                      "%dx%d\n" % screen, game.stdout)


class Ending(unittest.TestCase):
    def test_an_escape_tap_as_the_window_opens_ends_the_run_with_0(self):
        # Pressed and released at once, before or during the first frames: never held in a frame.
        with Game(QUIET) as game:
            game.window()
            game.key("Escape")
            self.assertEqual(game.wait(), 0, game.stderr)
        e2e.assert_log(game.stdout, e2e.STARTUP + e2e.SHUTDOWN)

    def test_sigint_and_sigterm_end_the_run_cleanly_and_then_by_the_signal_itself(self):
        # SIGINT while frames run; SIGTERM as soon as the game handles it, long before start-up
        # is over: the game ends without starting (no frame is ever presented). Either way the
        # process ends by the signal (a negative return code here, 130 or 143 in a shell).
        for number in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(signal=number.name), \
                    Game(dict(QUIET, FYREL_BENCH_STARTUP="1")) as game:
                if number == signal.SIGINT:
                    game.wait_first_frame()
                else:
                    wait_until(lambda: signals_caught(game.process.pid) >> (number - 1) & 1,
                               game, "SIGTERM is never handled")
                game.process.send_signal(number)
                self.assertEqual(game.wait(), -number, game.stderr)
            self.assertEqual("fyrel-startup" in game.stdout, number == signal.SIGINT)
            self.assertEqual(our_lines(game.stderr), [])


class CommandLine(unittest.TestCase):
    def run_fyrel(self, *args):
        # No display at all: had the game tried to open its window, it would say so and exit 1.
        env = e2e.player_env({name: value for name, value in os.environ.items()
                              if name != "DISPLAY"})
        return subprocess.run([FYREL] + list(args), env=env, capture_output=True, text=True,
                              timeout=e2e.TIMEOUT)

    def test_help_and_version_answer_without_a_display_and_the_game_says_why_it_cannot(self):
        play = self.run_fyrel("--mute")
        self.assertEqual(play.returncode, 1, play.stderr)
        self.assertIn(e2e.log_line("ERR", "glfw initialization failed: X11: The DISPLAY "
                                   "environment variable is missing"), play.stdout)
        help_run = self.run_fyrel("--help")
        self.assertEqual((help_run.returncode, help_run.stderr), (0, ""))
        self.assertTrue(help_run.stdout.startswith("Usage: fyrel [OPTION]...\n"))
        with open(os.path.join(e2e.SOURCE_DIR, "CMakeLists.txt")) as cmake:
            version = re.search(r"project\(Fyrel VERSION (\S+)", cmake.read()).group(1)
        self.assertEqual(self.run_fyrel("--version").stdout, "fyrel %s\n" % version)

    def test_each_kind_of_bad_argument_is_named_with_a_pointer_to_the_help_and_status_2(self):
        cases = [
            (["--frob"], '"--frob": there is no such option'),
            (["stray"], '"stray": the game takes no arguments besides options'),
            (["--volume"], '"--volume": it needs a value'),
            (["--mute=yes"], '"--mute=yes": --mute takes no value'),
            (["--volume", "150"], '"--volume 150": the volume must be 0 to 100'),
            (["--window=100x100"], '"--window=100x100": the window size must be'),
            (["--mouse-sensitivity", "0"], '"--mouse-sensitivity 0": the mouse sensitivity'),
            (["--data", "/no/such/folder"], '"--data /no/such/folder": there is no folder'),
        ]
        for args, named in cases:
            with self.subTest(args=args):
                result = self.run_fyrel("--fullscreen", *args)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertEqual(result.stdout, "")
                first, rest = result.stderr.split("\n", 1)
                self.assertTrue(first.startswith("fyrel: bad argument " + named), first)
                self.assertEqual(rest, "Try 'fyrel --help' for more information.\n")


class DataFolder(unittest.TestCase):
    def test_started_from_the_source_tree_it_reads_its_files_from_beside_itself(self):
        # The source tree holds the shaders, but not the game's other files.
        with Game(dict(QUIET, FYREL_MAX_FRAMES="5"), cwd=e2e.SOURCE_DIR) as game:
            self.assertEqual(game.wait(), 0, game.stderr)
        self.assertEqual(game.stdout, "")
        self.assertEqual(our_lines(game.stderr), [])

    def test_data_names_the_folder_it_reads_from(self):
        # A folder like the run folder, but without one picture: only that one is missing.
        root = tempfile.mkdtemp(prefix="fyrel-data-")
        self.addCleanup(shutil.rmtree, root, True)
        data, elsewhere = os.path.join(root, "data"), os.path.join(root, "elsewhere")
        missing = e2e.manifest_paths("PICTURE")[-1]
        for path in e2e.manifest_paths():
            if path != missing:
                os.makedirs(os.path.dirname(os.path.join(data, path)), exist_ok=True)
                os.symlink(os.path.join(os.path.abspath(e2e.RUN_DIR), path),
                           os.path.join(data, path))
        os.makedirs(elsewhere)
        with Game(dict(QUIET, FYREL_MAX_FRAMES="5"), args=["--data", "../data"],
                  cwd=elsewhere) as game:
            self.assertEqual(game.wait(), 0, game.stderr)
        # Its failure texts, on both streams, and nothing about any other file.
        lines = game.stdout.splitlines() + our_lines(game.stderr)
        self.assertNotEqual(lines, [])
        for line in lines:
            self.assertIn(missing, line)


if __name__ == "__main__":
    unittest.main(verbosity=2)
