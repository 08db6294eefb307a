"""Shared tooling for Fyrel's end-to-end tests.

Starts the real `fyrel` binary from its runnable folder on the current X display (Xvfb in CI),
drives it with xdotool (keys, mouse motion, wheel), asks the window system to close it, takes
screenshots, and collects its output and exit code.

    with Game() as game:
        game.wait_first_frame()
        game.hold_until_exit("Escape")
    assert game.returncode == 0

Under Xvfb there is no window manager: the game window gets the focus when it is mapped, so
keys sent through XTEST reach it.
"""

import contextlib
import ctypes
import os
import re
import shutil
import subprocess
import tempfile
import time
import weakref

RUN_DIR = os.environ.get("FYREL_RUN_DIR") or os.path.join(
    os.path.dirname(__file__), "..", "..", "build", "run")
BUILD_DIR = os.environ.get("FYREL_BUILD_DIR") or os.path.dirname(RUN_DIR)
ARTIFACT_DIR = os.environ.get("FYREL_ARTIFACT_DIR") or os.path.join(BUILD_DIR, "artifacts")

TIMEOUT = 60.0  # seconds; generous, the machine may be busy

# --- the game's files ---------------------------------------------------------------------------

SOURCE_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
MANIFEST = os.path.join(SOURCE_DIR, "infra", "AssetManifest.inc")
_MANIFEST_ENTRY = re.compile(r'^FYREL_([A-Z]+)\((.*), "([^"]+)"\)$')


def manifest(*kinds):
    """(kind, name, path) of every file the game reads, in the asset manifest's order; only
    those of the given kinds ("SHADER", "MODEL", "PICTURE", "GLYPH", "SOUND", "ICON") when any
    are given. A glyph's name is its character, an icon's its size in pixels."""
    entries = []
    with open(MANIFEST) as f:
        for line in f:
            match = _MANIFEST_ENTRY.match(line.strip())
            if match and (not kinds or match.group(1) in kinds):
                name = match.group(2)
                entries.append((match.group(1), name[1:-1] if name.startswith('"') else name,
                                match.group(3)))
    return entries


def manifest_paths(*kinds):
    return [path for _, _, path in manifest(*kinds)]

# --- log lines ------------------------------------------------------------------------------

LEVELS = {"TRACE": 1, "INFO": 2, "DEBUG": 3, "WARN": 4, "ERR": 5, "FATAL": 6}
# The log threshold starts at 0; once the model pool is created at start-up it is 5 and only ERR
# and FATAL lines print. A run is checked against each threshold the game may be in.
THRESHOLDS = (0, 5)

STARTUP = [("INFO", "glfw initialized!"), ("INFO", "glfw window created!"),
           ("INFO", "flextGL initialized")]
# Printed only when the input step at the head of a frame finds Escape down or the window
# closed. Events arrive during the swap, and the check right after it already ends the loop, so
# a running game ends without this line; only a key held in the very first frame shows it.
ESCAPE = [("TRACE", "Controlls: KEY_ESC\n")]
SHUTDOWN = [("INFO", "glfw window terminated!")]
SETUP_FAILED = [("INFO", "glfw initialized!"), ("INFO", "glfw window created!"),
                ("FATAL", "flext fail!"), ("FATAL", "Initialization of openGL libraries failed!")]


def log_line(level, message, component="main"):
    """One log line as the game prints it: six-character label, component, ': ', message."""
    return "%-6s%s: %s\n" % (level, component, message)


def expected_log(entries, threshold):
    """Standard output of a run that logs `entries` ((level, message) or (level, message,
    component)) under the given threshold."""
    return "".join(log_line(*entry) for entry in entries if LEVELS[entry[0]] >= threshold)


def matching_threshold(stdout, entries):
    """The threshold under which `entries` give exactly `stdout`, or None."""
    for threshold in THRESHOLDS:
        if stdout == expected_log(entries, threshold):
            return threshold
    return None


def assert_log(stdout, entries):
    if matching_threshold(stdout, entries) is None:
        raise AssertionError("unexpected standard output:\n%s\nexpected (threshold 0):\n%s" %
                             (stdout, expected_log(entries, 0)))


# --- X display --------------------------------------------------------------------------------

_DISPLAY_REFUSED = ("Can't open display", "Failed creating new xdo instance",
                    "unable to open display")


def x_command(args, input_bytes=None, timeout=TIMEOUT):
    """Runs an X client; retries when the server turns the connection away, which a busy Xvfb
    now and then does (before the command has had any effect)."""
    for attempt in range(50):
        result = subprocess.run(args, input=input_bytes, capture_output=True, timeout=timeout)
        stderr = result.stderr.decode(errors="replace")
        if result.returncode == 0 or not any(text in stderr for text in _DISPLAY_REFUSED):
            return result
        time.sleep(0.05)
    return result


def xdotool(*args, timeout=TIMEOUT):
    result = x_command(["xdotool"] + [str(arg) for arg in args], timeout=timeout)
    if result.returncode != 0:
        raise RuntimeError("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                      result.stderr.decode(errors="replace")))
    return result.stdout.decode()


def pointer():
    """Absolute pointer position (x, y)."""
    out = xdotool("getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"])


def window_geometry(window):
    """(x, y, width, height) of a window, from xwininfo."""
    out = x_command(["xwininfo", "-id", str(window)]).stdout.decode()

    def field(name):
        return int(re.search(r"%s:\s+(-?\d+)" % name, out).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height"))


def screen_size():
    """(width, height) of the X screen."""
    return tuple(int(n) for n in xdotool("getdisplaygeometry").split())


def drawn_share(xwd_picture, crop=None):
    """Share of a picture's pixels that are not black (0 to 1); of the part `crop`
    ("WxH+X+Y") only when given."""
    cut = ["-crop", crop, "+repage"] if crop else []
    out = subprocess.run(["convert", "xwd:-"] + cut + ["-fill", "white", "+opaque", "black",
                          "-format", "%[fx:mean]", "info:"], input=xwd_picture,
                         capture_output=True, check=True).stdout
    return float(out)


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def send_close_request(window):
    """Sends WM_DELETE_WINDOW, as a window manager's close button does (xdotool has no command
    for it: windowkill destroys the window under the client)."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(_XEvent)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = None
    for attempt in range(50):
        display = xlib.XOpenDisplay(None)
        if display:
            break
        time.sleep(0.05)
    if not display:
        raise RuntimeError("cannot open the X display")
    event = _XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    xlib.XFlush(display)
    xlib.XCloseDisplay(display)


# --- the game ---------------------------------------------------------------------------------

class PlayerFolders:
    """An empty $XDG_CONFIG_HOME and $XDG_STATE_HOME of a test's own, so that no run reads or
    writes the real home folder, nor sees what another test's keys changed. Hand one to several
    Games to let them share the player's files. The folders go when the object does."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="fyrel-player-")
        weakref.finalize(self, shutil.rmtree, self.root, True)
        self.config = os.path.join(self.root, "config")
        self.state = os.path.join(self.root, "state")
        self.settings = os.path.join(self.config, "fyrel", "settings")
        self.best_time = os.path.join(self.state, "fyrel", "best-time")

    def env(self, base=None):
        """`base` (the process's environment by default) with these folders."""
        return dict(os.environ if base is None else base, XDG_CONFIG_HOME=self.config,
                    XDG_STATE_HOME=self.state)


def player_env(base=None):
    """An environment with empty player folders of its own, for a run outside Game; they stay
    for the rest of the test process."""
    folders = PlayerFolders()
    _kept_folders.append(folders)
    return folders.env(base)


_kept_folders = []


def _x_authority_for(user, folder):
    """A copy of the X authority file in `folder` that `user` may read: the one xvfb-run makes
    is root's alone, and without it the game could not open the display."""
    copy = os.path.join(folder, "Xauthority")
    shutil.copyfile(os.environ["XAUTHORITY"], copy)
    shutil.chown(copy, user)
    return copy


class Game:
    """One run of build/run/fyrel with extra environment variables and arguments, started in its
    run folder or in `cwd`, with the player's folders `player` (PlayerFolders; empty ones of its
    own by default), as `user` when given.

    Use as a context manager: on leaving, keys still held are released and a game that is still
    running is killed, so one failing test cannot disturb the next.
    """

    def __init__(self, env=None, run_dir=RUN_DIR, args=(), cwd=None, player=None, user=None):
        # Empty player folders of its own unless the test hands some over.
        self.player = player or PlayerFolders()
        full_env = self.player.env()
        full_env.update(env or {})
        if user and os.environ.get("XAUTHORITY"):
            full_env["XAUTHORITY"] = _x_authority_for(user, self.player.root)
        self.start_time = time.monotonic()
        self.process = subprocess.Popen([os.path.join(run_dir, "fyrel")] + list(args),
                                        cwd=cwd or run_dir, env=full_env, user=user,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self._window = None
        self._held = set()
        self.returncode = None
        self.stdout = ""
        self.stderr = ""

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for key in list(self._held):
            self.keyup(key)
        if self.process.poll() is None:
            self.process.kill()
        self.wait()
        return False

    # Window

    def window(self):
        """Id of the mapped window named exactly "Fyrel" (waits for it)."""
        if self._window is None:
            out = xdotool("search", "--sync", "--onlyvisible", "--name", "^Fyrel$")
            self._window = int(out.split()[0])
        return self._window

    def title(self):
        return xdotool("getwindowname", self.window()).strip()

    def geometry(self):
        """(x, y, width, height) of the game window."""
        return window_geometry(self.window())

    def picture(self):
        """The window's picture as the X server holds it (xwd format): tells frames apart."""
        return x_command(["xwd", "-id", str(self.window()), "-silent"]).stdout

    def screenshot(self, name):
        """Saves the window's picture as <artifacts>/<name>.png and returns the path."""
        os.makedirs(ARTIFACT_DIR, exist_ok=True)
        path = os.path.join(ARTIFACT_DIR, name + ".png")
        subprocess.run(["convert", "xwd:-", path], input=self.picture(), check=True)
        return path

    def close_request(self):
        """Asks the window to close, as the window manager's close button would."""
        send_close_request(self.window())

    def wait_running(self, timeout=TIMEOUT):
        """Waits until the frame loop is processing events.

        While the cursor is captured the game puts the pointer back to the window centre after
        each motion, in its event processing; a pointer that is moved away and comes back twice
        proves that frames are running (the first return may come from capturing itself)."""
        x, y, width, height = self.geometry()
        centre = (x + width // 2, y + height // 2)
        deadline = time.monotonic() + timeout
        for _ in range(2):
            xdotool("mousemove", x + 1, y + 1)
            while pointer() != centre:
                self._check_alive(deadline, "the game does not process events")
                time.sleep(0.02)

    def wait_first_frame(self, timeout=TIMEOUT):
        """Waits until the frame loop runs and the window shows a drawn frame: the sky covers
        the clear colour, so most of the picture is not black."""
        deadline = time.monotonic() + timeout
        self.wait_running(timeout)
        while drawn_share(self.picture()) < 0.5:
            self._check_alive(deadline, "the window shows no drawn frame")
            time.sleep(0.05)

    def wait_frames(self, count, timeout=TIMEOUT):
        """Waits until the window has shown `count` new pictures, so at least `count` frames were
        presented since the call (the orbits move the planets in every frame). Events that
        arrived before the call are processed after the first of them, and what they changed
        is on the screen with the second."""
        deadline = time.monotonic() + timeout
        previous = self.picture()
        while count > 0:
            self._check_alive(deadline, "no new frame on the window")
            time.sleep(0.01)
            picture = self.picture()
            if picture != previous:
                count -= 1
                previous = picture

    def run_for(self, seconds, frames=3):
        """Lets the game run for at least `seconds` and at least `frames` frames: game time is
        wall-clock time, but a busy machine may draw few frames in it."""
        end = time.monotonic() + seconds
        self.wait_frames(frames)
        time.sleep(max(0.0, end - time.monotonic()))

    def wait_for_text(self, name, x, top, text, timeout=TIMEOUT, pattern=None):
        """Takes screenshots (<artifacts>/<name>.png) until `text` reads at (x, top) (or, given
        `pattern`, until what reads there in as many characters matches it) and returns that
        picture's path. Works while the game is paused too, when no new frames come."""
        deadline = time.monotonic() + timeout
        while True:
            picture = self.screenshot(name)
            read = read_text(picture, x, top, len(text))
            if re.fullmatch(pattern, read) if pattern else read == text:
                return picture
            self._check_alive(deadline, "no %r on the window" % text)
            time.sleep(0.2)

    def key_shows_text(self, key, name, x, top, text, seconds=3.0):
        """Taps `key` and keeps the window's pictures for `seconds`, then looks for `text` at
        (x, top) in them and saves the first that shows it as <artifacts>/<name>.png: for lines
        that show only briefly, which a slow look at each picture in turn could miss."""
        self.key(key)
        pictures = []
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            pictures.append(self.picture())
            time.sleep(0.05)
        os.makedirs(ARTIFACT_DIR, exist_ok=True)
        path = os.path.join(ARTIFACT_DIR, name + ".png")
        seen = []
        for picture in dict.fromkeys(pictures):  # each distinct picture once, in order
            subprocess.run(["convert", "xwd:-", path], input=picture, check=True)
            seen.append(read_text(path, x, top, len(text)))
            if seen[-1] == text:
                return path
        raise AssertionError("no %r on the window after %s; read %r" % (text, key, seen))

    def _check_alive(self, deadline, problem):
        if self.process.poll() is not None:
            raise AssertionError("%s: the game ended with exit code %d" %
                                 (problem, self.process.returncode))
        if time.monotonic() > deadline:
            raise AssertionError(problem)

    # Input

    def key(self, name):
        """Taps a key. The press and release may fall into one frame, which the game then does
        not see: prefer hold() or hold_until_exit() where a test depends on the key."""
        xdotool("key", name)

    def keydown(self, name):
        self._held.add(name)
        xdotool("keydown", name)

    def keyup(self, name):
        self._held.discard(name)
        xdotool("keyup", name)

    @contextlib.contextmanager
    def hold(self, name):
        """Holds a key for the with-block; wait_frames or run_for in it let the game see it."""
        self.keydown(name)
        try:
            yield
        finally:
            self.keyup(name)

    def hold_until_exit(self, name, timeout=TIMEOUT):
        """Holds a key until the game ends, then releases it; returns the exit code."""
        with self.hold(name):
            return self.wait(timeout)

    def move_mouse(self, dx, dy):
        """Relative motion: the only kind that moves a captured cursor."""
        xdotool("mousemove_relative", "--", dx, dy)

    def wheel(self, clicks):
        """Scroll notches: positive up (button 4), negative down (button 5)."""
        if clicks:
            xdotool("click", "--repeat", abs(clicks), 4 if clicks > 0 else 5)

    # End

    def wait(self, timeout=TIMEOUT):
        """Waits for the game to end; kills it after `timeout` seconds. Returns the exit code
        and keeps it, standard output and standard error in the attributes of those names."""
        if self.returncode is None:
            try:
                out, err = self.process.communicate(timeout=timeout)
            except subprocess.TimeoutExpired:
                self.process.kill()
                out, err = self.process.communicate()
                err += b"\n[fyrel_e2e: killed after %.0f s]\n" % timeout
            self.returncode = self.process.returncode
            self.stdout = out.decode(errors="replace")
            self.stderr = err.decode(errors="replace")
        return self.returncode


def wait_until(condition, game, problem):
    """Waits until `condition()` holds; fails with `problem` once TIMEOUT has passed or the game
    has ended."""
    deadline = time.monotonic() + TIMEOUT
    while not condition():
        game._check_alive(deadline, problem)
        time.sleep(0.05)


# --- text on screen ---------------------------------------------------------------------------

GLYPH_W, GLYPH_H = 6, 14
# The score line's first cell: 15 pixels from the left, 4 from the top (at text scale 1, which
# every window up to 2047 x 1535 has).
SCORE_X, SCORE_TOP = 15, 4


def rgb(path, *operations):
    """The picture's pixels as bytes, 8-bit red, green, blue, rows from the top."""
    return subprocess.run(["convert", path] + list(operations) + ["-depth", "8", "rgb:-"],
                          capture_output=True, check=True).stdout


def mean_difference(a, b):
    assert len(a) == len(b) and a
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


GLYPH_PATHS = {name: path for _, name, path in manifest("GLYPH")}
_glyphs = {}


def glyph(char):
    """The font's picture of a character, as rgb() bytes."""
    if char not in _glyphs:
        _glyphs[char] = rgb(os.path.join(RUN_DIR, GLYPH_PATHS[char]))
        assert len(_glyphs[char]) == GLYPH_W * GLYPH_H * 3, char
    return _glyphs[char]


def text_cells(picture, x, top, length):
    """The 6 x 14 cells of `length` characters whose first cell's top left corner is (x, top)."""
    strip = rgb(picture, "-crop", "%dx%d+%d+%d" % (GLYPH_W * length, GLYPH_H, x, top), "+repage")
    row = GLYPH_W * length * 3
    return [b"".join(strip[r * row + k * GLYPH_W * 3:r * row + (k + 1) * GLYPH_W * 3]
                     for r in range(GLYPH_H)) for k in range(length)]


def read_text(picture, x, top, length):
    """The text at (x, top) read back: each cell is the font glyph it is nearest to."""
    return "".join(min(GLYPH_PATHS, key=lambda c: mean_difference(cell, glyph(c)))
                   for cell in text_cells(picture, x, top, length))


def centred_line(width, height, text, below):
    """(x, top) in a width x height window of a centred overlay line whose bottom lies `below`
    pixels under the middle of the 1024 x 768 text frame (negative: above), at text scale 1."""
    bottom_above_middle = (768 - GLYPH_H) // 2 - below - 768 // 2
    return (width // 2 - len(text) * GLYPH_W // 2,
            height - (height // 2 + bottom_above_middle) - GLYPH_H)


def text_difference(picture, x, top, text):
    """Mean difference between the cells at (x, top) and `text` set in the font."""
    cells = text_cells(picture, x, top, len(text))
    return sum(mean_difference(cell, glyph(c)) for cell, c in zip(cells, text)) / len(text)
