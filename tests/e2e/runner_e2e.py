#!/usr/bin/env python3
"""End-to-end stories of the headless runner: the whole game, steered by a script, judged by
its log, its exit code and the picture of its last frame.

Usage: runner_e2e.py RUNNER BUILD_DIR CASE
"""
import contextlib
import os
import pathlib
import re
import subprocess
import sys
import tempfile
from collections import namedtuple

RUNNER = BUILD = ""
DONE = "done            ---------------------\n"
Run = namedtuple("Run", "returncode log stdout picture")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Picture:
    """A binary PPM, top row first; pixel() counts rows from the bottom as GL does."""

    def __init__(self, path):
        data = pathlib.Path(path).read_bytes()
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        check(header is not None, "screenshot is not a binary PPM")
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.rgb = data[header.end():]

    def pixel(self, x, y):
        i = ((self.height - 1 - y) * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def count(self, box, test, step=2):
        x0, y0, x1, y1 = box
        return sum(1 for y in range(y0, y1, step) for x in range(x0, x1, step)
                   if test(self.pixel(x, y)))


def run(script="", frames=5, args=(), cwd=None, screenshot=True):
    """Runs the game headless in cwd (the build folder unless given) and collects what it left."""
    with tempfile.TemporaryDirectory() as tmp:
        command = [RUNNER, "--frames", str(frames), "--dt", "0.05", "--seed", "1"] + list(args)
        if script:
            session = pathlib.Path(tmp, "session.txt")
            session.write_text(script)
            command += ["--script", str(session)]
        shot = os.path.join(tmp, "last.ppm")
        if screenshot:
            command += ["--screenshot", shot]
        done = subprocess.run(command, cwd=cwd or BUILD, capture_output=True, timeout=240)
        picture = Picture(shot) if screenshot and os.path.exists(shot) else None
        return Run(done.returncode, done.stderr.decode("latin-1"), done.stdout.decode(), picture)


@contextlib.contextmanager
def run_folder(objects=""):
    """A run directory of its own: the build's art and sounds, and a level of these objects."""
    with tempfile.TemporaryDirectory() as tmp:
        os.makedirs(os.path.join(tmp, "data", "levels"))
        for part in ("model", "texture", "sound"):
            os.symlink(os.path.join(BUILD, "data", part), os.path.join(tmp, "data", part))
        with open(os.path.join(tmp, "data", "levels", "level.xml"), "w") as f:
            f.write('<?xml version="1.0"?>\n<LEVEL>\n%s\n</LEVEL>\n' % objects)
        yield tmp


def is_green(p):
    return p[1] > 150 and p[0] < 90 and p[2] < 90


def is_game_over_colour(p):
    return p[0] > 170 and p[1] < 150 and p[2] < 90 and p[0] - p[1] > 60


def is_level_end_colour(p):
    return p[1] > 120 and p[0] < p[1] - 40 and p[2] > 60 and p[2] < p[1]


MESSAGES = (0, 400, 1024, 760)  # the upper half of the window, where the messages go
ENERGY_BAR = (508, 80)
TOP_RADAR = (790, 72)


def check_cockpit(picture, bar_visible, what):
    check(is_green(picture.pixel(*ENERGY_BAR)) == bar_visible, what + ": energy bar")
    check(picture.pixel(*TOP_RADAR)[1] > 100, what + ": ship marker on the top scope")
    check(sum(picture.pixel(60, 20)) > 60, what + ": dashboard drawn")


# ---------------------------------------------------------------------------------------------


def case_startup_log():
    played = run(frames=3, screenshot=False)
    check(played.returncode == 0, "exit code %d" % played.returncode)
    check(played.log.startswith("Logging started *********************"), "the opening line")
    at = 0
    for line in ["Start FullScreen?: Would You Like To Run In Fullscreen Mode?\n"
                 "CreateGLWindow() succeeded",  # right after the question: nothing in between
                 "WinMain(): cockpit texture loaded/created successfully.",
                 "WinMain(): text texture loaded/created successfully."]:
        at = played.log.find(line, at)
        check(at >= 0, "missing or out of order: %r" % line)
    check(played.log.endswith(DONE), "done is the last line")


def case_overlays():
    plain = run(frames=3)
    check(plain.returncode == 0, "exit code %d" % plain.returncode)
    check_cockpit(plain.picture, True, "flying")
    for test in (is_game_over_colour, is_level_end_colour):
        check(plain.picture.count(MESSAGES, test, 3) < 30, "no message while flying")
    lines = run("0 down F3\n1 up F3\n", frames=3).picture
    check(sum(1 for y in range(200, 560, 2) for x in range(150, 880, 2)
              if lines.pixel(x, y) != plain.picture.pixel(x, y)) > 2000, "F3 draws lines")

    # Eight rocks on the ship at once: 8 x 40 is more than its 300. (The level's end is
    # shell_e2e.py's play_again.)
    with run_folder("\n".join('<OBJECT type="OBJ3D_ASTEROID" objid="r%d" z="-10"/>' % i
                              for i in range(8))) as tmp:
        over = run(frames=4, cwd=tmp).picture
    check(over.count(MESSAGES, is_game_over_colour, 3) > 300, "game-over message shown")
    check_cockpit(over, False, "ship destroyed")


def case_quit():
    for script, frames, what in [("3 down ESC\n", 3, "Esc"), ("2 close\n", 2, "close"),
                                 # Esc while minimised waits; after restoring, it quits.
                                 ("1 minimise\n1 down ESC\n2 restore\n", 1, "Esc minimised")]:
        played = run(script, frames=100, args=["--report"], screenshot=False)
        check(played.returncode == 0 and played.log.endswith(DONE), what + ": a clean end")
        check(re.match(r"frames %d median [\d.]+ ms mean [\d.]+ ms p95 [\d.]+ ms" % frames,
                       played.stdout), "%s ends after frame %d: %r" % (what, frames, played.stdout))
    # Closed before its first frame: there is no picture to keep, and the runner says so.
    closed = run("0 close\n")
    check(closed.returncode == 1 and closed.picture is None and
          closed.log.endswith(": no frame was drawn\n"), "closed at once: %r" % closed.log[-200:])


def case_report():
    # Steady play allocates nothing of the game's own; a resize in it (the font is made anew
    # for the new height) shows in the game's share, apart from the driver's.
    played = run("120 size 800 600\n", frames=140, args=["--report"], screenshot=False)
    check(played.returncode == 0, "exit code %d" % played.returncode)
    if "allocations not counted" in played.stdout:
        return  # the sanitizers' allocator counts for itself
    shares = re.search(r"game median (\d+) p95 \d+ max (\d+) driver median (\d+)", played.stdout)
    check(shares is not None, played.stdout)
    median, most, driver = (int(n) for n in shares.groups())
    check(median == 0 and most > 0 and driver > 0, played.stdout)
    # Start-up ends with the hundredth frame: the first explosion (its texture loaded) made in
    # it counts there; made in the next, that frame is left out of steady play's figures.
    for frame, left_out in ((98, 0), (99, 1)):
        made = run("%d down 1\n%d up 1\n" % (frame, frame + 1), frames=130, args=["--report"],
                   screenshot=False)
        check("frames left out %d\n" % left_out in made.stdout, "%d: %s" % (frame, made.stdout))


def case_command_line():
    for script, args, said in [("", ["--frames", "lots"], "usage:"), ("1 push U\n", [], "line 1"),
                               ("0 size 1024 768\n1 size 1025 768\n", [],
                                "line 2: size 1025 768 is larger than the 1024x768 surface"),
                               ("1 size 1280 721\n", ["--size", "1280x720"], "1280x720 surface")]:
        bad = run(script, args=args, screenshot=False)
        check(bad.returncode == 2 and said in bad.log, "%s: exit code 2 and %s" % (args, said))
    fits = run("0 size 1280 720\n", args=["--size", "1280x720"], screenshot=False)
    check(fits.returncode == 0, "a size as large as the surface is taken")
    helped = run(args=["--help"], screenshot=False)
    check(helped.returncode == 0 and helped.stdout.startswith("usage: ombrelix-headless"),
          "--help: %d %r" % (helped.returncode, helped.stdout[:200]))


def main(cases):
    """Runs the case named on the command line from the given module's case_ functions."""
    global RUNNER, BUILD
    if len(sys.argv) < 4:
        print(cases["__doc__"])
        return 2
    RUNNER, BUILD, case = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    try:
        cases["case_" + case]()
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    print("passed: %s" % case)
    return 0


if __name__ == "__main__":
    sys.exit(main(globals()))
