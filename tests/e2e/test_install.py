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
    def test_installed_launcher_runs_the_game_from_anywhere(self):
        root = tempfile.mkdtemp(prefix="fyrel-install-")
        self.addCleanup(shutil.rmtree, root, True)
        prefix = os.path.join(root, "prefix")
        subprocess.run(["cmake", "--install", e2e.BUILD_DIR, "--prefix", prefix],
                       check=True, capture_output=True, timeout=e2e.TIMEOUT)

        data = os.path.join(prefix, "share", "fyrel")
        for path in e2e.manifest_paths():
            self.assertTrue(os.path.isfile(os.path.join(data, path)), path)
        self.assertTrue(os.access(os.path.join(prefix, "libexec", "fyrel", "fyrel"), os.X_OK))

        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(glob.glob(os.path.join(prefix, "share", "applications", "*.desktop")))
        self.assertEqual(entry["Desktop Entry"]["Exec"], "fyrel")
        self.assertEqual(entry["Desktop Entry"]["Type"], "Application")

        # Started through a link from an unrelated folder: the launcher must find its own place.
        elsewhere = os.path.join(root, "elsewhere")
        os.makedirs(elsewhere)
        os.symlink(os.path.join(prefix, "bin", "fyrel"), os.path.join(elsewhere, "fyrel"))
        env = dict(os.environ, FYREL_MAX_FRAMES="5", SDL_AUDIODRIVER="dummy")
        result = subprocess.run(["./fyrel"], cwd=elsewhere, env=env, capture_output=True,
                                text=True, timeout=e2e.TIMEOUT)
        self.assertEqual(result.returncode, 0, result.stderr)
        # Missing shaders, pictures or the model would show as ERR or FATAL lines here, missing
        # sounds or broken pictures on standard error.
        self.assertEqual(result.stdout, "")
        for text in ("cannot play", "picture", "Compile failure", "No such file"):
            self.assertNotIn(text, result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
