"""`cmake --install` into a fresh prefix gives a game that starts from any working directory."""

import configparser
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402


class Install(unittest.TestCase):
    def test_the_installed_game_runs_from_anywhere_and_through_a_link(self):
        root = tempfile.mkdtemp(prefix="fyrel-install-")
        self.addCleanup(shutil.rmtree, root, True)
        prefix = os.path.join(root, "prefix")
        subprocess.run(["cmake", "--install", e2e.BUILD_DIR, "--prefix", prefix],
                       check=True, capture_output=True, timeout=e2e.TIMEOUT)

        data = os.path.join(prefix, "share", "fyrel")
        for path in e2e.manifest_paths():
            self.assertTrue(os.path.isfile(os.path.join(data, path)), path)
        # The game itself, no launcher script in front of it.
        binary = os.path.join(prefix, "bin", "fyrel")
        with open(binary, "rb") as f:
            self.assertEqual(f.read(4), b"\x7fELF")

        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(glob.glob(os.path.join(prefix, "share", "applications", "*.desktop")))
        self.assertEqual(entry["Desktop Entry"]["Exec"], "fyrel")
        self.assertEqual(entry["Desktop Entry"]["Type"], "Application")

        # From an unrelated folder, by its path and through a link there: the game must find
        # its files from its own place.
        elsewhere = os.path.join(root, "elsewhere")
        os.makedirs(elsewhere)
        os.symlink(binary, os.path.join(elsewhere, "fyrel"))
        env = e2e.player_env(dict(os.environ, FYREL_MAX_FRAMES="5", SDL_AUDIODRIVER="dummy"))
        for command in (binary, "./fyrel"):
            with self.subTest(command=command):
                result = subprocess.run([command], cwd=elsewhere, env=env, capture_output=True,
                                        text=True, timeout=e2e.TIMEOUT)
                self.assertEqual(result.returncode, 0, result.stderr)
                # Missing shaders, pictures or the model would show as ERR or FATAL lines here,
                # missing sounds or broken pictures on standard error.
                self.assertEqual(result.stdout, "")
                for text in ("cannot play", "picture", "Compile failure", "No such file"):
                    self.assertNotIn(text, result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
