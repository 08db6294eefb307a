"""What the player switches in the running game, through the real window: the controls panel
(F1), the pause (P), the sound keys and the settings kept from one start to the next, and a new
game after the end (Enter) with the game's time."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402
from fyrel_e2e import Game, wait_until  # noqa: E402

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
TIME_TOP = AGAIN_TOP + e2e.GLYPH_H
BOT_SEED = "6"
# The sound line, as far above the middle as the play-again line is below it.
SOUND_ABOVE = -80
QUIET = {"SDL_AUDIODRIVER": "dummy"}  # an audio device, silent
WON_TIMEOUT = 400.0  # seconds; about 50 with this seed here, the machine may be busy


def sound_key(game, key, text, name):
    """Taps `key` and checks that the sound line of the window's size then reads `text`."""
    _, _, width, height = game.geometry()
    x, top = e2e.centred_line(width, height, text, SOUND_ABOVE)
    return game.key_shows_text(key, name, x, top, text)


def read(path):
    with open(path) as f:
        return f.read()


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

    def test_sound_keys_full_screen_and_volume_are_there_at_the_next_start(self):
        player = e2e.PlayerFolders()
        screen = (0, 0) + e2e.screen_size()
        with Game(QUIET, player=player) as game:
            game.wait_first_frame()
            sound_key(game, "minus", "volume 90", "sound_volume_90")
            sound_key(game, "KP_Subtract", "volume 80", "sound_volume_80")
            sound_key(game, "m", "sound off", "sound_off")
            # Plus on the main row: louder, and the sound on again.
            sound_key(game, "equal", "volume 90", "sound_volume_90_again")
            sound_key(game, "KP_Add", "volume 100", "sound_volume_100")
            sound_key(game, "minus", "volume 90", "sound_volume_90_last")
            game.key("F11")
            wait_until(lambda: game.geometry() == screen, game, "F11 did not fill the screen")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        self.assertEqual(game.stderr, "")
        first = read(player.settings)
        self.assertIn("\nfullscreen = yes\nwindow = 1024x768\nvolume = 90\nmute = no\n", first)

        # Full screen again; the command line's window size and volume win for this run and
        # are not kept, while F11 (changed in the game) is.
        with Game(QUIET, player=player, args=["--window", "640x480", "--volume", "30"]) as game:
            wait_until(lambda: game.geometry() == screen, game, "full screen was not kept")
            game.wait_frames(3)
            sound_key(game, "m", "sound off", "sound_off_kept")
            sound_key(game, "m", "volume 30", "sound_volume_given")
            game.key("F11")
            wait_until(lambda: game.geometry()[2:] == (640, 480), game, "F11 did not go back")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        self.assertEqual(read(player.settings), first.replace("fullscreen = yes", "fullscreen = no"))

    def test_without_a_device_the_keys_say_so_and_a_folder_it_may_not_write_costs_one_line(self):
        player = e2e.PlayerFolders()
        folder = os.path.dirname(player.settings)
        os.makedirs(folder)
        os.chmod(folder, 0o555)
        # Root writes into any folder: the game then runs as a user the folder is closed to.
        user = "nobody" if os.geteuid() == 0 else None
        if user:
            for path in (player.root, player.config):
                os.chmod(path, 0o755)
        with Game(QUIET, player=player, user=user, args=["--mute"]) as game:
            game.wait_first_frame()
            sound_key(game, "KP_Add", "no sound device", "sound_no_device")
            game.key("F11")
            game.wait_frames(3)
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)
        self.assertEqual(game.stderr, 'fyrel: cannot write "%s" (Permission denied); it is not '
                         "kept\n" % player.settings)
        self.assertFalse(os.path.exists(player.settings))

    def test_enter_after_the_bot_has_won_starts_a_new_game(self):
        # A best time the bot beats: it shows as a new best but is never written.
        player = e2e.PlayerFolders()
        os.makedirs(os.path.dirname(player.best_time))
        with open(player.best_time, "w") as f:
            f.write("seconds = 5999\n")
        with Game({"FYREL_AUTOPLAY": BOT_SEED, "SDL_AUDIODRIVER": "dummy"}, player=player,
                  args=["--window", "%dx%d" % (BOT_WIDTH, BOT_HEIGHT)]) as game:
            game.wait_first_frame()
            game.wait_for_text("bot_playing", e2e.SCORE_X, e2e.SCORE_TOP, "fyrel: 0 von 8",
                               timeout=WON_TIMEOUT)
            # Enter before the end does nothing, so it is only pressed now; let the scene dim
            # first (0.06 of its brightness a second, from 0.3).
            game.wait_frames(150)
            dimmed = game.screenshot("bot_won")
            with game.hold("Return"):
                game.wait_frames(2)
            # The bot may take the new round's first orb within a frame or two, before a
            # screenshot shows all eight: any score above none shows that the round began.
            again = game.wait_for_text("bot_again", e2e.SCORE_X, e2e.SCORE_TOP,
                                       "fyrel: 8 von 8", pattern=r"fyrel: [1-8] von 8")
            self.assertEqual(game.hold_until_exit("Escape"), 0, game.stderr)

        self.assertEqual(e2e.read_text(dimmed, AGAIN_X, AGAIN_TOP, len(AGAIN_TEXT)), AGAIN_TEXT)
        time_line = "time 0:00  new best"
        time_x = (BOT_WIDTH - len(time_line) * e2e.GLYPH_W) // 2
        self.assertRegex(e2e.read_text(dimmed, time_x, TIME_TOP, len(time_line)),
                         r"^time \d:\d\d  new best$")
        self.assertEqual(read(player.best_time), "seconds = 5999\n")
        self.assertFalse(os.path.exists(player.settings))
        self.assertNotEqual(e2e.read_text(again, AGAIN_X, AGAIN_TOP, len(AGAIN_TEXT)),
                            AGAIN_TEXT)
        self.assertGreater(brightness(again), 1.5 * brightness(dimmed) + 2,
                           "the scene is not bright again")


if __name__ == "__main__":
    unittest.main(verbosity=2)
