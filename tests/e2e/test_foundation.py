"""The game's window, frame loop, exits and OpenGL refusal, seen from outside."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402
from fyrel_e2e import Game  # noqa: E402


def error_lines(stderr):
    """Lines of ours on standard error (the sanitizers and Mesa may add their own)."""
    return [line for line in stderr.splitlines() if line.startswith(("Error:", "       "))]


class Foundation(unittest.TestCase):
    def test_escape_ends_the_run_with_exit_code_0(self):
        with Game() as game:
            self.assertEqual(game.title(), "Fyrel")
            self.assertEqual(game.geometry()[2:], (1024, 768))
            game.wait_first_frame()
            shot = game.screenshot("foundation_running")
            size = subprocess.run(["identify", "-format", "%wx%h", shot], capture_output=True,
                                  text=True, check=True).stdout
            self.assertEqual(size, "1024x768")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        # Escape is seen by the check after the swap, before any input step: no TRACE line.
        e2e.assert_log(game.stdout, e2e.STARTUP + e2e.SHUTDOWN)
        self.assertEqual(error_lines(game.stderr), [])

    def test_close_request_ends_the_run_without_the_escape_line(self):
        with Game() as game:
            game.wait_running()
            game.close_request()
            self.assertEqual(game.wait(), 0, game.stderr)
        e2e.assert_log(game.stdout, e2e.STARTUP + e2e.SHUTDOWN)

    def test_opengl_3_2_is_refused(self):
        with Game({"MESA_GL_VERSION_OVERRIDE": "3.2COMPAT"}) as game:
            self.assertEqual(game.wait(), 1)
        self.assertEqual(error_lines(game.stderr), [
            "Error: OpenGL version 3.3 not supported.",
            "       Your version is 3.2.",
            "       Try updating your graphics driver.",
        ])
        e2e.assert_log(game.stdout, e2e.SETUP_FAILED)

    def test_a_context_without_gpu_shader5_is_refused(self):
        with Game({"MESA_EXTENSION_OVERRIDE": "-GL_ARB_gpu_shader5"}) as game:
            self.assertEqual(game.wait(), 1)
        lines = error_lines(game.stderr)
        self.assertEqual(lines[0], "Error: OpenGL extension ARB_gpu_shader5 not supported.")
        self.assertRegex(lines[1], r"^       Your version is [34]\.\d\.$")
        self.assertEqual(lines[2:], ["       Try updating your graphics driver."])
        e2e.assert_log(game.stdout, e2e.SETUP_FAILED)

    def test_f5_releases_the_cursor_for_the_rest_of_the_run(self):
        with Game() as game:
            game.wait_first_frame()
            x, y, width, height = game.geometry()
            corner = (x + 5, y + 5)
            with game.hold("F5"):
                game.wait_frames(3)
            # Captured, the pointer would be back in the centre by the time these frames show.
            e2e.xdotool("mousemove", *corner)
            game.wait_frames(3)
            self.assertEqual(e2e.pointer(), corner)
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
