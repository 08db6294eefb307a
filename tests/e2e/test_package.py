"""The Debian package as a player would get it: built by CPack, accepted by lintian, with the menu
entry, AppStream file and manual page valid, every file where Debian's policy puts it, and the
unpacked tree running from anywhere with its window icon."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402

DATA = "usr/share/fyrel/"
MANUAL_PAGE = "usr/share/man/man6/fyrel.6.gz"
# Said by libraries about themselves, not by the game.
NOISE = ("ALSA lib", "MESA-LOADER", "libEGL warning")


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=e2e.TIMEOUT * 3,
                          **kwargs)


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        made = run(["cpack", "-G", "DEB"], cwd=e2e.BUILD_DIR)
        found = re.search(r"^CPack: - package: (.+\.deb) generated\.$", made.stdout, re.M)
        if made.returncode != 0 or not found:
            raise AssertionError("cpack failed:\n%s%s" % (made.stdout, made.stderr))
        cls.deb = found.group(1)
        cls.root = tempfile.mkdtemp(prefix="fyrel-package-")
        cls.tree = os.path.join(cls.root, "tree")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.tree], check=True)
        cls.files = {}  # path below the root: (mode, owner)
        for line in run(["dpkg-deb", "-c", cls.deb]).stdout.splitlines():
            mode, owner, _size, _date, _time, path = line.split(None, 5)
            cls.files[path[2:]] = (mode, owner)
        # The application id, as the menu entry's file name gives it; the icon and the AppStream
        # file must be named by the same.
        entries = os.listdir(os.path.join(cls.tree, "usr/share/applications"))
        cls.app_id = entries[0][:-len(".desktop")] if len(entries) == 1 else "?"

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def unpacked(self, path):
        return os.path.join(self.tree, path)

    def test_one_version_names_the_package_its_release_and_changelog(self):
        version = run(["dpkg-deb", "-f", self.deb, "Version"]).stdout.strip()
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        self.assertRegex(version, r"^\d+\.\d+\.\d+$")
        self.assertEqual(self.deb, os.path.join(os.path.abspath(e2e.BUILD_DIR),
                                                "fyrel_%s_%s.deb" % (version, arch)))
        with open(self.unpacked("usr/share/metainfo/%s.metainfo.xml" % self.app_id)) as f:
            self.assertIn('<release version="%s" ' % version, f.read())
        changelog = run(["zcat", self.unpacked("usr/share/doc/fyrel/changelog.gz")]).stdout
        self.assertTrue(changelog.startswith("fyrel (%s) " % version), changelog)

    def test_files_sit_where_debian_puts_a_game_owned_by_root(self):
        self.assertRegex(self.app_id, r"^[a-z]+(\.[a-z]+)+\.[A-Za-z]+$")
        expected = {"usr/games/fyrel", "usr/share/applications/%s.desktop" % self.app_id,
                    "usr/share/metainfo/%s.metainfo.xml" % self.app_id,
                    "usr/share/doc/fyrel/copyright", "usr/share/doc/fyrel/changelog.gz"}
        expected |= {DATA + path for path in e2e.manifest_paths()}
        expected |= {"usr/share/icons/hicolor/%sx%s/apps/%s.png" % (size, size, self.app_id)
                     for _, size, _ in e2e.manifest("ICON")}
        expected.add(MANUAL_PAGE)
        files = {path for path, (mode, _) in self.files.items() if not mode.startswith("d")}
        self.assertEqual(files, expected)
        for path, (mode, owner) in self.files.items():
            executable = mode.startswith("d") or path == "usr/games/fyrel"
            with self.subTest(path=path):
                self.assertEqual(owner, "root/root")
                self.assertEqual(mode[1:], "rwxr-xr-x" if executable else "rw-r--r--")

    def test_lintian_finds_nothing_wrong(self):
        result = run(["lintian", "--display-info", self.deb])
        print("\n--- lintian\n" + result.stdout + result.stderr, file=sys.stderr)
        problems = [line for line in result.stdout.splitlines() if line.startswith(("E:", "W:"))]
        self.assertEqual(problems, [])

    def test_menu_entry_and_metadata_validate(self):
        entry = self.unpacked("usr/share/applications/%s.desktop" % self.app_id)
        result = run(["desktop-file-validate", entry])
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        with open(entry) as f:
            self.assertIn("Icon=%s\n" % self.app_id, f.read())
        metainfo = self.unpacked("usr/share/metainfo/%s.metainfo.xml" % self.app_id)
        with open(metainfo) as f:
            text = f.read()
        self.assertIn("<id>%s</id>" % self.app_id, text)
        self.assertIn('<launchable type="desktop-id">%s.desktop</launchable>' % self.app_id, text)
        result = run(["appstreamcli", "validate", "--no-net", "--explain", metainfo])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotRegex(result.stdout, r"(?m)^[EW]:")
        # A homepage only where the build was given one, and the same everywhere: no made-up URL.
        homepage = run(["dpkg-deb", "-f", self.deb, "Homepage"]).stdout.strip()
        with open(self.unpacked("usr/share/doc/fyrel/copyright")) as f:
            copyright_text = f.read()
        if homepage:
            self.assertIn('<url type="homepage">%s</url>' % homepage, text)
            self.assertIn("Source: %s\n" % homepage, copyright_text)
        else:
            self.assertNotRegex(text, r"<url|https?://")
            self.assertNotIn("Source:", copyright_text)

    def test_manual_page_reads_cleanly(self):
        page = self.unpacked(MANUAL_PAGE)
        self.assertRegex(run(["lexgrog", page]).stdout, r": \"fyrel - .+\"")
        result = run(["man", "--warnings", "-l", page], env=dict(os.environ, MANWIDTH="80"))
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr, "")
        for section in ("SYNOPSIS", "OPTIONS", "CONTROLS", "FILES", "EXIT STATUS"):
            self.assertIn("\n" + section + "\n", result.stdout)

    def test_unpacked_game_runs_from_elsewhere_and_shows_its_icon(self):
        elsewhere = os.path.join(self.root, "elsewhere")
        os.makedirs(elsewhere, exist_ok=True)
        env = e2e.player_env(dict(os.environ, SDL_AUDIODRIVER="dummy"))
        game = subprocess.Popen([self.unpacked("usr/games/fyrel")], cwd=elsewhere, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            window = int(e2e.xdotool("search", "--sync", "--onlyvisible", "--pid",
                                     game.pid).split()[0])
            # -len: xprop shows only the first part of a long property by default.
            icon = e2e.x_command(["xprop", "-len", "4000000", "-id", str(window),
                                  "_NET_WM_ICON"]).stdout.decode()
            e2e.send_close_request(window)
            out, err = game.communicate(timeout=e2e.TIMEOUT)
        finally:
            if game.poll() is None:
                game.kill()
                game.communicate()
        self.assertEqual(game.returncode, 0, err)
        # A missing shader, picture or model would show as ERR or FATAL lines here; a missing
        # sound, icon or a broken picture on standard error.
        self.assertEqual(out, "")
        self.assertEqual([line for line in err.splitlines() if not line.startswith(NOISE)], [])
        shown = re.findall(r"Icon \((\d+) x \d+\)", icon)
        self.assertEqual(sorted(shown), sorted(size for _, size, _ in e2e.manifest("ICON")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
