"""Hostile files: the real game, started with one of the files it reads broken in turn.

Every file the game reads (each picture, each font picture, the alien model, each shader, each
sound, each size of the window icon) is in turn missing, empty, cut at half its size, replaced by random bytes (fixed seed)
and replaced by a valid file of another kind. Each case runs in a folder of its own that links
the unchanged files of the runnable folder, so the runnable folder itself is never touched.

Expected: the game says what is wrong (the fixed failure texts, or our own clear line), keeps
running and ends with exit code 0; a broken alien model ends start-up with a FATAL line naming
"alien.dae" and exit code 1. No case may crash, hang or trip a sanitizer.

    python3 tests/e2e/hostile_files.py [--jobs 2] [--filter TEXT] [--report FILE]

runs the whole suite against $FYREL_RUN_DIR (default build/run), prints the table and writes it
to <build>/hostile-report.md. tests/e2e/test_hostile.py runs one case of each damage for each
kind of file under ctest.
"""

import argparse
import concurrent.futures
import ctypes
import functools
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fyrel_e2e as e2e  # noqa: E402

SOURCE_DIR = e2e.SOURCE_DIR
FRAMES = 20
# One case normally takes some seconds; sanitizer builds and a busy machine take many times
# that. A case still running after this is a hang.
TIMEOUT = float(os.environ.get("FYREL_HOSTILE_TIMEOUT", "180"))
SEED = 20261207

PICTURES = e2e.manifest_paths("PICTURE")
FONT = e2e.manifest_paths("GLYPH")
MODEL = e2e.manifest_paths("MODEL")
SHADERS = e2e.manifest_paths("SHADER")
SOUNDS = e2e.manifest_paths("SOUND")
ICONS = e2e.manifest_paths("ICON")

KINDS = [("picture", PICTURES), ("font", FONT), ("model", MODEL), ("shader", SHADERS),
         ("sound", SOUNDS), ("icon", ICONS)]
DAMAGES = ["missing", "empty", "truncated", "random", "other"]

# Standard error of a sanitizer build that found something.
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "runtime error:", "LeakSanitizer")
# Lines that say nothing about the case: every run here has no sound card, and Mesa or the X
# libraries may talk about themselves.
NOISE = ("fyrel: no audio device", "ALSA lib", "MESA-LOADER", "libEGL warning", "XIO:",
         "[fyrel_e2e")


class Case:
    def __init__(self, kind, path, damage, escape=False):
        self.kind, self.path, self.damage, self.escape = kind, path, damage, escape

    @property
    def name(self):
        return "%s %s %s" % (self.kind, self.path, self.damage)

    def expected_exit(self):
        return 1 if self.kind == "model" else 0

    def expected_texts(self):
        """(stream, text) pairs the run must print."""
        path, damage = self.path, self.damage
        if self.kind == "model":
            return [("stdout", "FATAL main: "), ("stdout", '"alien.dae"')]
        if self.kind in ("picture", "font"):
            if damage in ("missing", "empty", "random"):
                return [("stdout", "Texture loading failed! Tex: " + path + "\n")]
            if damage == "truncated":
                # Half a JPEG still decodes (the rest grey); the decoder's complaint names it.
                return [("stderr", 'fyrel: picture "%s": ' % path)]
            if self.kind == "font":
                return [("stdout", "ERR   ImageFont: picture smaller than one glyph: " + path)]
            return []
        if self.kind == "shader":
            texts = [("stdout", "ERR   ProgramCreator: ")]
            if damage == "missing":
                texts.append(("stdout", "shader source could not be opened; path: " + path))
            # Half a shader may still compile (cut between two functions): then only the link
            # fails. An empty one fails either way, at compiling or linking, by the driver.
            if damage in ("missing", "random", "other"):
                texts += [("stdout", "ERR   ShaderCompiler: shader didn't compile; path: " + path),
                          ("stderr", "Compile failure in shader:\n")]
            return texts
        if self.kind == "sound":
            if damage in ("missing", "empty", "random"):
                return [("stderr", 'fyrel: cannot play "%s"' % path)]
            return []
        if self.kind == "icon":
            # Any picture will do for an icon; the window goes without a size it cannot read.
            if damage != "other":
                return [("stderr", 'fyrel: window icon "%s": ' % path)]
            return []
        raise ValueError(self.kind)


def all_cases():
    """Every file with every damage. Per kind of file and damage the first file is ended with
    the real Escape key, the others after FRAMES frames."""
    cases = []
    for kind, paths in KINDS:
        for damage in DAMAGES:
            for index, path in enumerate(paths):
                cases.append(Case(kind, path, damage, escape=index == 0 and kind != "model"))
    return cases


# The files of the ctest subset: one of each kind, each chosen for being read in a special way.
SUBSET = {
    "picture": "sunmap.jpg",                # read eight times, once per light orb
    "font": "fyrelFont/letters/e.jpg",      # drawn in the score line
    "model": "alien.dae",
    "shader": "shaders/lightGauss.frag",    # linked into two programs
    "sound": "game_music.mp3",              # streamed and looped
    "icon": "icons/fyrel-16.png",           # the first size the window is given
}


def subset_cases():
    """Half of them, every kind of file and every damage among them, end with Escape; the
    others run two at a time to keep the run short."""
    return [Case(kind, SUBSET[kind], damage, escape=kind != "model" and (k + d) % 2 == 0)
            for k, (kind, _) in enumerate(KINDS) for d, damage in enumerate(DAMAGES)]


# --- hostile files ----------------------------------------------------------------------------

def png(width, height, channels=4):
    """A PNG of the given size, 8 bits per channel (4: RGBA), with a colour gradient."""
    colour_type = {1: 0, 2: 4, 3: 2, 4: 6}[channels]
    rows = b""
    for y in range(height):
        row = bytearray([0])
        for x in range(width):
            row += bytes([(x * 255) // max(width - 1, 1), (y * 255) // max(height - 1, 1),
                          128, 200][:channels])
        rows += bytes(row)

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


@functools.lru_cache(maxsize=None)
def _freeimage():
    lib = ctypes.CDLL("libfreeimage.so.3")
    lib.FreeImage_Allocate.restype = ctypes.c_void_p
    lib.FreeImage_Allocate.argtypes = [ctypes.c_int] * 3 + [ctypes.c_uint] * 3
    lib.FreeImage_GetBits.restype = ctypes.POINTER(ctypes.c_ubyte)
    lib.FreeImage_GetBits.argtypes = [ctypes.c_void_p]
    lib.FreeImage_GetPitch.argtypes = [ctypes.c_void_p]
    lib.FreeImage_Save.argtypes = [ctypes.c_int, ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.FreeImage_Unload.argtypes = [ctypes.c_void_p]
    return lib


FIF_JPEG = 2


def jpeg(width, height, bits):
    """A JPEG written by the image library the game reads with: 8 bits is greyscale (the library
    gives it a grey palette), 24 bits colour."""
    lib = _freeimage()
    bitmap = lib.FreeImage_Allocate(width, height, bits, 0, 0, 0)
    pixels = lib.FreeImage_GetBits(bitmap)
    pitch = lib.FreeImage_GetPitch(bitmap)
    for y in range(height):
        for i in range(width * bits // 8):
            pixels[y * pitch + i] = (37 * i + 91 * y) % 256
    fd, path = tempfile.mkstemp(suffix=".jpg")
    os.close(fd)
    try:
        if not lib.FreeImage_Save(FIF_JPEG, bitmap, path.encode(), 0):
            raise RuntimeError("cannot write a %d-bit JPEG" % bits)
        with open(path, "rb") as f:
            return f.read()
    finally:
        lib.FreeImage_Unload(bitmap)
        os.remove(path)


def wav(seconds=0.5, rate=22050):
    """A 16-bit mono WAV with a 440 Hz tone."""
    fd, path = tempfile.mkstemp(suffix=".wav")
    os.close(fd)
    try:
        with wave.open(path, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(rate)
            import math
            w.writeframes(b"".join(
                struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                for i in range(int(seconds * rate))))
        with open(path, "rb") as f:
            return f.read()
    finally:
        os.remove(path)


COLLADA_WITHOUT_MESH = b"""<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <asset>
    <unit name="meter" meter="1"/>
    <up_axis>Y_UP</up_axis>
  </asset>
  <library_visual_scenes>
    <visual_scene id="Scene" name="Scene">
      <node id="empty" name="empty">
        <translate>0 1 0</translate>
      </node>
    </visual_scene>
  </library_visual_scenes>
  <scene>
    <instance_visual_scene url="#Scene"/>
  </scene>
</COLLADA>
"""


def with_syntax_error(source):
    """The shader with a broken statement right after its #version line."""
    lines = source.decode().split("\n")
    at = 1 if lines and lines[0].startswith("#version") else 0
    lines.insert(at, "float broken = * 2.0 vec3;")
    return "\n".join(lines).encode()


def other_kind(case, original):
    """A valid file of another kind under the case's name."""
    if case.kind == "picture":
        # Alternately an RGBA PNG of odd width (rows need padding) and a greyscale JPEG.
        if PICTURES.index(case.path) % 2 == 0:
            return png(33, 17)
        return jpeg(64, 32, 8)
    if case.kind == "font":
        return jpeg(1, 1, 24)
    if case.kind == "model":
        return COLLADA_WITHOUT_MESH
    if case.kind == "shader":
        return with_syntax_error(original)
    if case.kind == "sound":
        return wav()
    if case.kind == "icon":
        return jpeg(64, 32, 24)
    raise ValueError(case.kind)


def hostile_bytes(case, original):
    """The damaged file's contents, or None when the file is to be missing."""
    if case.damage == "missing":
        return None
    if case.damage == "empty":
        return b""
    if case.damage == "truncated":
        return original[:len(original) // 2]
    if case.damage == "random":
        rng = random.Random("%d:%s" % (SEED, case.path))
        return rng.randbytes(len(original))
    return other_kind(case, original)


@functools.lru_cache(maxsize=None)
def _hostile_cached(kind, path, damage, run_dir):
    case = Case(kind, path, damage)
    with open(os.path.join(run_dir, path), "rb") as f:
        return hostile_bytes(case, f.read())


def make_case_folder(run_dir, case):
    """A temporary copy of the runnable folder, made of links but for the damaged file."""
    run_dir = os.path.abspath(run_dir)
    folder = tempfile.mkdtemp(prefix="fyrel-hostile-")
    parts = case.path.split("/")
    source, target = run_dir, folder
    for depth, part in enumerate(parts):
        for entry in os.listdir(source):
            if entry != part:
                os.symlink(os.path.join(source, entry), os.path.join(target, entry))
        if depth < len(parts) - 1:
            source, target = os.path.join(source, part), os.path.join(target, part)
            os.mkdir(target)
    contents = _hostile_cached(case.kind, case.path, case.damage, run_dir)
    if contents is not None:
        with open(os.path.join(folder, case.path), "wb") as f:
            f.write(contents)
    return folder


# --- running a case ---------------------------------------------------------------------------

class Result:
    def __init__(self, case, returncode, stdout, stderr, problems, seconds):
        self.case, self.returncode, self.stdout, self.stderr = case, returncode, stdout, stderr
        self.problems, self.seconds = problems, seconds

    @property
    def passed(self):
        return not self.problems

    def relevant_lines(self, count=4):
        """The first distinct lines the game printed (standard output first), a repeated line
        once with its count; a FATAL line always."""
        counts = {}
        for line in (self.stdout + self.stderr).splitlines():
            if line.strip() and not line.startswith(NOISE):
                counts[line] = counts.get(line, 0) + 1
        lines = ["%s (x%d)" % (line, n) if n > 1 else line for line, n in counts.items()]
        shown = lines[:count]
        shown += [line for line in lines[count:] if line.startswith("FATAL")]
        return shown


def game_environment():
    """The environment of a run. Options for the sanitizers have no effect on other builds."""
    env = dict(os.environ)
    # A sanitizer build reports the leaks of third-party libraries that live until exit; the
    # project keeps the list of those, which match by library name.
    options = [option for option in env.get("LSAN_OPTIONS", "").split(":") if option and
               not option.startswith(("suppressions=", "fast_unwind_on_malloc="))]
    options += ["suppressions=" + os.path.join(SOURCE_DIR, "tests", "lsan.supp"),
                "print_suppressions=0"]
    # No slow unwinding on every allocation: with Mesa's worker threads the real game then
    # stalls for minutes at start-up, which would pass for a hang.
    env["LSAN_OPTIONS"] = ":".join(dict.fromkeys(options))
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1")
    return env


def _run_frames(folder, env):
    env = e2e.player_env(dict(env, FYREL_MAX_FRAMES=str(FRAMES)))
    process = subprocess.Popen([os.path.join(folder, "fyrel")], cwd=folder, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    problems = []
    try:
        out, err = process.communicate(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        process.kill()
        out, err = process.communicate()
        problems.append("hung: killed after %.0f s" % TIMEOUT)
    return process.returncode, out.decode(errors="replace"), err.decode(errors="replace"), problems


def _run_escape(folder, env, expected_exit):
    problems = []
    with e2e.Game(env, run_dir=folder) as game:
        try:
            if expected_exit == 0:
                game.wait_running(timeout=TIMEOUT)
                # Frames keep coming: the game still puts the pointer back after a while.
                time.sleep(1.0)
                game.wait_running(timeout=TIMEOUT)
                game.hold_until_exit("Escape", timeout=TIMEOUT)
            else:
                game.wait(TIMEOUT)
        except Exception as error:  # noqa: BLE001 - any failure of the driving is the case's
            problems.append("not running: %s" % str(error).strip().splitlines()[0])
            if game.process.poll() is None:
                game.process.kill()
            game.wait(TIMEOUT)
    if "[fyrel_e2e: killed after" in game.stderr:
        problems.append("hung: killed after %.0f s" % TIMEOUT)
    return game.returncode, game.stdout, game.stderr, problems


def run_case(case, run_dir):
    folder = make_case_folder(run_dir, case)
    start = time.monotonic()
    try:
        env = game_environment()
        if case.escape:
            returncode, out, err, problems = _run_escape(folder, env, case.expected_exit())
        else:
            returncode, out, err, problems = _run_frames(folder, env)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    problems += check(case, returncode, out, err)
    return Result(case, returncode, out, err, problems, time.monotonic() - start)


def check(case, returncode, stdout, stderr):
    problems = []
    for line in stderr.splitlines():
        if any(mark in line for mark in SANITIZER_MARKS):
            problems.append("sanitizer: " + line.strip())
            break
    if returncode is not None and returncode < 0:
        problems.append("crashed: signal %d" % -returncode)
    elif returncode != case.expected_exit():
        problems.append("exit code %s, expected %d" % (returncode, case.expected_exit()))
    streams = {"stdout": stdout, "stderr": stderr}
    for stream, text in case.expected_texts():
        if text not in streams[stream]:
            problems.append("no %r on %s" % (text.rstrip("\n"), stream))
    return problems


# --- the suite --------------------------------------------------------------------------------

def run_suite(cases, run_dir, jobs=2, progress=None):
    """Runs the cases, those ended by a frame count `jobs` at a time, those ended with the
    Escape key one at a time with nothing else on the display (the key goes to the window that
    has the focus). Returns the results in the order of `cases`."""
    results = {}
    lock = threading.Lock()

    def one(case):
        result = run_case(case, run_dir)
        with lock:
            results[id(case)] = result
            if progress:
                progress(result, len(results), len(cases))

    framed = [case for case in cases if not case.escape]
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, jobs)) as pool:
        list(pool.map(one, framed))
    for case in cases:
        if case.escape:
            one(case)
    return [results[id(case)] for case in cases]


def _cell(text):
    return text.replace("|", "\\|").replace("\n", " ")


def report(results):
    """The markdown table: case, exit code, result, the first lines the game printed."""
    lines = ["# Hostile files", "",
             "%d cases, %d failed." % (len(results), sum(not r.passed for r in results)), "",
             "| case | ended by | exit | result | what the game printed (first lines) |",
             "|---|---|---|---|---|"]
    for r in results:
        printed = " / ".join(line[:160] for line in r.relevant_lines())
        lines.append("| %s | %s | %s | %s | %s |" % (
            _cell(r.case.name), "Escape" if r.case.escape else "%d frames" % FRAMES,
            r.returncode, "ok" if r.passed else "FAIL: " + _cell("; ".join(r.problems)),
            _cell(printed) or "(nothing)"))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--filter", default="", help="only cases whose name contains this")
    parser.add_argument("--subset", action="store_true", help="the ctest subset only")
    parser.add_argument("--report", help="default: <build>/hostile-report.md")
    args = parser.parse_args()

    run_dir = os.path.abspath(e2e.RUN_DIR)
    if not os.path.exists(os.path.join(run_dir, "fyrel")):
        sys.exit("no game in %s (build first, or set FYREL_RUN_DIR)" % run_dir)
    cases = subset_cases() if args.subset else all_cases()
    cases = [case for case in cases if args.filter in case.name]
    report_path = args.report or os.path.join(os.path.dirname(run_dir), "hostile-report.md")

    def progress(result, done, total):
        print("[%3d/%d] %-4s %-50s exit %s  %.1f s%s" % (
            done, total, "ok" if result.passed else "FAIL", result.case.name, result.returncode,
            result.seconds, "" if result.passed else "  " + "; ".join(result.problems)),
            flush=True)

    print("%d cases against %s" % (len(cases), run_dir), flush=True)
    results = run_suite(cases, run_dir, args.jobs, progress)
    table = report(results)
    with open(report_path, "w") as f:
        f.write(table)
    # The whole output of every failed case, beside the report.
    log_dir = os.path.splitext(report_path)[0] + "-logs"
    shutil.rmtree(log_dir, ignore_errors=True)
    for r in results:
        if not r.passed:
            os.makedirs(log_dir, exist_ok=True)
            name = "%s-%s.txt" % (r.case.path.replace("/", "_"), r.case.damage)
            with open(os.path.join(log_dir, name), "w") as f:
                f.write("%s\nexit %s\n%s\n--- stdout\n%s--- stderr\n%s" % (
                    r.case.name, r.returncode, "\n".join(r.problems), r.stdout, r.stderr))
    print()
    print(table)
    print("report: %s" % report_path)
    sys.exit(0 if all(r.passed for r in results) else 1)


if __name__ == "__main__":
    main()
