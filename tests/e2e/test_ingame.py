"""What the player switches in the running game, through the real window: the controls panel
(F1), the pause (P) and a new game after the end (Enter)."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402
from fyrel_e2e import Game  # noqa: E402

# The panel's fourth line, which has the longest keys and so starts in the score's column: the
# panel starts under the score line and a blank one, with a blank border line: 4 + 14 + 14 + 14
# rows from the top to its first line.
HELP_TOP = e2e.SCORE_TOP + 6 * e2e.GLYPH_H
HELP_LINE = "mouse wheel: camera nearer and farther"
# The pause line, in the middle of the 1024 x 768 window.
PAUSE_X, PAUSE_TOP = (1024 - 5 * e2e.GLYPH_W) // 2, (768 - e2e.GLYPH_H) // 2
# The bot's game: a small window keeps its frames quick; the line under the middle, 80 rows
# below the pause line's place.
BOT_WIDTH, BOT_HEIGHT = 480, 360
AGAIN_TEXT = "enter: play again"
AGAIN_X = (BOT_WIDTH - len(AGAIN_TEXT) * e2e.GLYPH_W) // 2
AGAIN_TOP = (BOT_HEIGHT - e2e.GLYPH_H) // 2 + 80
BOT_SEED = "6"
WON_TIMEOUT = 400.0  # seconds; about 50 with this seed here, the machine may be busy


def brightness(picture):
    """Mean of every pixel's red, green and blue."""
    pixels = e2e.rgb(picture)
    return sum(pixels) / len(pixels)


class InGame(unittest.TestCase):
    def test_f1_shows_the_controls_panel_and_f1_again_hides_it(self):
        with Game() as game:
            game.wait_first_frame()
            before = game.screenshot("help_before")
            game.key("F1")
            game.wait_frames(2)
            shown = game.screenshot("help_shown")
            game.key("F1")
            game.wait_frames(2)
            hidden = game.screenshot("help_hidden")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)

        self.assertEqual(e2e.read_text(shown, e2e.SCORE_X, HELP_TOP, len(HELP_LINE)),
                         HELP_LINE)
        on_panel = e2e.text_difference(shown, e2e.SCORE_X, HELP_TOP, HELP_LINE)
        self.assertLess(on_panel, 25, "the glyphs differ from the font pictures")
        for picture in (before, hidden):
            self.assertGreater(e2e.text_difference(picture, e2e.SCORE_X, HELP_TOP,
                                                   HELP_LINE), 3 * on_panel + 10)

    def test_p_holds_the_picture_still_and_p_again_lets_it_go_on(self):
        with Game() as game:
            game.wait_first_frame()
            game.key("p")
            game.wait_for_text("pause_line", PAUSE_X, PAUSE_TOP, "pause")
            paused = game.picture()
            time.sleep(1.5)
            still_paused = game.picture()
            game.key("p")
            game.wait_frames(2)
            going_on = game.screenshot("pause_over")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)

        self.assertEqual(paused, still_paused, "the picture changed while paused")
        self.assertNotEqual(e2e.read_text(going_on, PAUSE_X, PAUSE_TOP, 5), "pause")

    def test_enter_after_the_bot_has_won_starts_a_new_game(self):
        with Game({"FYREL_AUTOPLAY": BOT_SEED, "SDL_AUDIODRIVER": "dummy"},
                  args=["--window", "%dx%d" % (BOT_WIDTH, BOT_HEIGHT)]) as game:
            game.wait_first_frame()
            game.wait_for_text("bot_playing", e2e.SCORE_X, e2e.SCORE_TOP, "fyrel: 0 von 8",
                               timeout=WON_TIMEOUT)
            # Enter before the end does nothing, so it is only pressed now; let the scene dim
            # first (0.001 of its brightness per frame, from 0.3).
            game.wait_frames(150)
            dimmed = game.screenshot("bot_won")
            game.key("Return")
            again = game.wait_for_text("bot_again", e2e.SCORE_X, e2e.SCORE_TOP,
                                       "fyrel: 8 von 8")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)

        self.assertEqual(e2e.read_text(dimmed, AGAIN_X, AGAIN_TOP, len(AGAIN_TEXT)), AGAIN_TEXT)
        self.assertNotEqual(e2e.read_text(again, AGAIN_X, AGAIN_TOP, len(AGAIN_TEXT)),
                            AGAIN_TEXT)
        self.assertGreater(brightness(again), 1.5 * brightness(dimmed) + 2,
                           "the scene is not bright again")


if __name__ == "__main__":
    unittest.main(verbosity=2)
