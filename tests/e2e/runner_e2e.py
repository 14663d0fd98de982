#!/usr/bin/env python3
"""End-to-end stories of the headless runner: the whole game, steered by a script, judged by
its log, its exit code and the picture of its last frame.

Usage: runner_e2e.py RUNNER BUILD_DIR CASE
"""
import collections
import os
import re
import subprocess
import sys
import tempfile

RUNNER = ""
BUILD = ""
DT = "0.05"

# Window pixels from the bottom-left corner at 1024 x 768 (the instruments' places).
ENERGY_BAR_MIDDLE = (508, 80)
TOP_RADAR = (790, 72)
FRONT_RADAR = (234, 72)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


Run = collections.namedtuple("Run", "returncode log stdout picture")


class Picture:
    """A binary PPM, top row first; pixel() counts rows from the bottom as GL does."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        check(header is not None, "screenshot is not a binary PPM")
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.rgb = data[header.end():]
        check(len(self.rgb) == self.width * self.height * 3, "screenshot is cut short")

    def pixel(self, x, y):
        i = ((self.height - 1 - y) * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def count(self, x0, y0, x1, y1, test, step=2):
        return sum(1 for y in range(y0, y1, step) for x in range(x0, x1, step)
                   if test(self.pixel(x, y)))

    def differing(self, other, x0, y0, x1, y1, step=2):
        return sum(1 for y in range(y0, y1, step) for x in range(x0, x1, step)
                   if self.pixel(x, y) != other.pixel(x, y))


def run(script="", frames=5, args=(), cwd=None, screenshot=True):
    """Runs the game headless in cwd (the build folder unless given) and collects what it left."""
    with tempfile.TemporaryDirectory() as tmp:
        command = [RUNNER, "--frames", str(frames), "--dt", DT, "--seed", "1"] + list(args)
        if script:
            script_file = os.path.join(tmp, "session.txt")
            with open(script_file, "w") as f:
                f.write(script)
            command += ["--script", script_file]
        shot = os.path.join(tmp, "last.ppm")
        if screenshot:
            command += ["--screenshot", shot]
        done = subprocess.run(command, cwd=cwd or BUILD, capture_output=True, timeout=240)
        log = done.stderr.decode("latin-1")
        picture = Picture(shot) if screenshot and os.path.exists(shot) else None
        return Run(done.returncode, log, done.stdout.decode("latin-1"), picture)


def run_dir_with_level(tmp, level_xml):
    """A run directory with the build's models and textures and a level of our own."""
    os.makedirs(os.path.join(tmp, "data", "levels"))
    for part in ("model", "texture"):
        os.symlink(os.path.join(BUILD, "data", part), os.path.join(tmp, "data", part))
    with open(os.path.join(tmp, "data", "levels", "level.xml"), "w") as f:
        f.write(level_xml)
    return tmp


OBJECT_LINE = re.compile(
    r'<OBJECT type="([^"]+)" objid="obj(\d+)" x="(-?\d+\.\d{6})" y="(-?\d+\.\d{6})" '
    r'z="(-?\d+\.\d{6})"/>\n'
)


def dumps(log):
    return [(m.group(1), int(m.group(2)), float(m.group(3)), float(m.group(4)), float(m.group(5)))
            for m in OBJECT_LINE.finditer(log)]


def level_objects():
    with open(os.path.join(BUILD, "data", "levels", "level.xml")) as f:
        text = re.sub(r"<!--.*?-->", "", f.read(), flags=re.S)
    return re.findall(r'<OBJECT\s+type="(\w+)"[^>]*?x="(-?[\d.]+)"\s+y="(-?[\d.]+)"\s+z="(-?[\d.]+)"',
                      text)


def is_green(p):
    return p[1] > 150 and p[0] < 90 and p[2] < 90


# Colours of the two messages of the information picture.
def is_game_over_colour(p):
    return p[0] > 170 and p[1] < 150 and p[2] < 90 and p[0] - p[1] > 60


def is_level_end_colour(p):
    return p[1] > 120 and p[0] < p[1] - 40 and p[2] > 60 and p[2] < p[1]


def message_area_count(picture, test):
    # The upper half of the window, where the messages go.
    return picture.count(0, 400, 1024, 760, test, step=3)


# ---------------------------------------------------------------------------------------------


def case_startup_log():
    played = run(frames=3, screenshot=False)
    check(played.returncode == 0, "exit code %d" % played.returncode)
    expected = [
        "Logging started *********************",
        "Start FullScreen?: Would You Like To Run In Fullscreen Mode?\n",
        "CreateGLWindow() succeeded",  # right after the question: nothing in between
        "WinMain(): cockpit texture loaded/created successfully.",
        "WinMain(): text texture loaded/created successfully.",
        "done            ---------------------\n",
    ]
    at = 0
    for line in expected:
        found = played.log.find(line, at)
        check(found >= 0, "missing or out of order: %r" % line)
        at = found + len(line)
    check(played.log.startswith(expected[0]), "the log opens with the start line")
    check("Mode?\nCreateGLWindow() succeeded" in played.log, "window right after the question")
    check(played.log.endswith(expected[-1]), "done is the last line")


def case_object_dump():
    played = run("1 down V\n2 up V\n3 down V\n4 up V\n", frames=6, screenshot=False)
    check(played.returncode == 0, "exit code %d" % played.returncode)
    lines = dumps(played.log)
    level = level_objects()
    check(len(level) > 0, "the level has objects")
    check(len(lines) == 2 * len(level), "%d dump lines for %d level objects, dumped twice"
          % (len(lines), len(level)))
    check([l[1] for l in lines] == list(range(len(lines))), "objids count on across dumps")
    check(all(l[0].endswith(".ms3d") for l in lines), "only elements with models are dumped")
    # Things that do not move are where the level put them.
    still = {(t, float(x), float(y), float(z)) for t, x, y, z in level
             if t in ("OBJ3D_ASTEROID", "OBJ3D_BONUS", "OBJ3D_KNACKER")}
    dumped = {(l[2], l[3], l[4]) for l in lines}
    for _, x, y, z in still:
        check((x, y, z) in dumped, "object at %s %s %s missing from the dump" % (x, y, z))


def spawned_rock(log):
    rocks = [l for l in dumps(log) if l[0].endswith("asteroid.ms3d")]
    check(rocks, "no asteroid in the dump")
    # The spawned rock is filed in front, so it is the first one of the dump.
    return rocks[0]


def case_flight_changes_dump():
    still = run("2 down B\n3 up B\n4 down V\n5 up V\n", frames=6, screenshot=False)
    check(still.returncode == 0, "exit code %d" % still.returncode)
    _, _, x, y, z = spawned_rock(still.log)
    check((x, y, z) == (0.0, 0.0, -100.0), "a still ship puts the rock 100 ahead: %s" % ((x, y, z),))

    flown = run("1 down I\n15 up I\n16 down S\n30 up S\n31 down B\n32 up B\n33 down V\n34 up V\n",
                frames=35, screenshot=False)
    check(flown.returncode == 0, "exit code %d" % flown.returncode)
    _, _, x, y, z = spawned_rock(flown.log)
    check(z < -250.0, "thrust carried the ship forward: rock at z %f" % z)
    check(x < -20.0, "S turned the ship to the left: rock at x %f" % x)
    check(abs(y) < 1e-3, "a yaw stays level: y %f" % y)

    fired = run("12 down U\n13 up U\n14 down V\n15 up V\n", frames=16, screenshot=False)
    check(fired.returncode == 0, "exit code %d" % fired.returncode)
    shots = [l for l in dumps(fired.log) if "fugenmasse" in l[0]]
    check(len(shots) == 1, "one laser shot in the dump, found %d" % len(shots))
    _, _, x, y, z = shots[0]
    check(abs(x - 20.0) < 1e-3, "the first shot leaves the right gun: x %f" % x)
    check(z < -20.0, "and flies ahead: z %f" % z)


def radar_dots(picture, centre):
    # Grey dots of asteroids and other radar colours on the dark green scope face.
    x0, y0 = centre
    return picture.count(x0 - 50, y0 - 50, x0 + 50, y0 + 50,
                         lambda p: p[0] > 90 and abs(p[0] - p[1]) < 40, step=1)


def check_hud(picture, bar_visible=True, what=""):
    bar = picture.pixel(*ENERGY_BAR_MIDDLE)
    check(is_green(bar) == bar_visible, "%s: energy bar %s, pixel %s" %
          (what, "shown" if bar_visible else "gone", bar))
    # The top view shows the ship's own green marker in the middle (nothing sits on it);
    # the front view has the level's rocks and friends around its middle.
    check(picture.pixel(*TOP_RADAR)[1] > 100, "%s: ship marker on the top scope" % what)


def case_overlays():
    plain = run(frames=3)
    check(plain.returncode == 0, "exit code %d" % plain.returncode)
    check(plain.picture is not None, "no screenshot")
    check_hud(plain.picture, True, "flying")
    check(radar_dots(plain.picture, FRONT_RADAR) > 3, "the level's objects on the front scope")
    check(message_area_count(plain.picture, is_game_over_colour) < 30, "no game-over message")
    check(message_area_count(plain.picture, is_level_end_colour) < 30, "no level-end message")
    # The cockpit frames the view: its lower panel is not black, the view is.
    check(sum(plain.picture.pixel(60, 20)) > 60, "dashboard drawn")

    with tempfile.TemporaryDirectory() as tmp:
        # A rock with the level's end on its life sits on the ship: three knocks finish it.
        run_dir_with_level(tmp, """<?xml version="1.0"?>
<LEVEL>
  <OBJECT type="OBJ3D_ASTEROID" objid="goal" x="0" y="0" z="-10">
    <TRIGGER cause="death" event="endlevel"/>
  </OBJECT>
</LEVEL>
""")
        ended = run(frames=8, cwd=tmp)
    check(ended.returncode == 0, "level end: exit code %d" % ended.returncode)
    check(message_area_count(ended.picture, is_level_end_colour) > 300, "level-end message shown")
    check(message_area_count(ended.picture, is_game_over_colour) < 30, "but no game over")
    check_hud(ended.picture, True, "level ended")

    with tempfile.TemporaryDirectory() as tmp:
        # Eight rocks on the ship at once: 8 x 40 is more than its 300.
        rocks = "\n".join('  <OBJECT type="OBJ3D_ASTEROID" objid="r%d" x="0" y="0" z="-10"/>' % i
                          for i in range(8))
        run_dir_with_level(tmp, '<?xml version="1.0"?>\n<LEVEL>\n%s\n</LEVEL>\n' % rocks)
        over = run(frames=4, cwd=tmp)
    check(over.returncode == 0, "game over: exit code %d" % over.returncode)
    check(message_area_count(over.picture, is_game_over_colour) > 300, "game-over message shown")
    check_hud(over.picture, False, "ship destroyed")


def case_drawing_toggles():
    shots = {}
    for name, script in [("base", ""),
                         ("wireframe", "0 down F3\n1 up F3\n"),
                         ("immediate", "0 down F4\n1 up F4\n"),
                         ("arrays", "0 down F4\n1 up F4\n2 down F5\n3 up F5\n"),
                         ("filter", "0 down F6\n1 up F6\n")]:
        played = run(script, frames=5)
        check(played.returncode == 0, "%s: exit code %d" % (name, played.returncode))
        shots[name] = played.picture
    base = shots["base"]
    # The status lines: "display lists" at 0.28, "vertex arrays" at 0.26, the filter at 0.24
    # of the overlay plane, which puts their baselines near rows 643, 625 and 606.
    lists_band = (40, 641, 420, 659)
    arrays_band = (40, 623, 420, 640)
    filter_band = (40, 604, 420, 621)
    view = (150, 200, 880, 560)  # the world through the canopy, clear of the text
    # The space dust is strewn anew on every start, so a few specks differ between runs.
    same = 150

    def diff(name, box):
        return shots[name].differing(base, *box)

    check(diff("immediate", lists_band) > 5, "F4 changes the display-list line")
    check(diff("immediate", view) < same, "immediate mode draws the same world")
    check(diff("arrays", arrays_band) > 5, "F5 changes the vertex-array line")
    check(diff("arrays", view) < same, "vertex arrays draw the same world")
    check(diff("filter", filter_band) > 5, "F6 changes the filter line")
    check(diff("wireframe", view) > 2000, "F3 draws the world as lines")


def case_quit():
    for script, frames, what in [("3 down ESC\n", 3, "Esc"), ("2 close\n", 2, "close"),
                                 # Esc while minimised waits; after restoring, it quits.
                                 ("1 minimise\n1 down ESC\n2 restore\n", 1, "Esc minimised")]:
        played = run(script, frames=100, args=["--report"], screenshot=False)
        check(played.returncode == 0, "%s: exit code %d" % (what, played.returncode))
        check(re.match(r"frames %d median [\d.]+ ms mean [\d.]+ ms p95 [\d.]+ ms" % frames,
                       played.stdout), "%s ends after frame %d: %r" % (what, frames, played.stdout))
        check(played.log.endswith("done            ---------------------\n"), what + ": shut down")

    resized = run("1 size 800 600\n", frames=3)
    check(resized.returncode == 0, "resize: exit code %d" % resized.returncode)
    # The picture keeps to the new 800 x 600 viewport; the rest of the surface stays clear.
    check(resized.picture.count(820, 0, 1024, 768, lambda p: sum(p) > 0) == 0,
          "nothing drawn right of the 800-pixel viewport")
    check(resized.picture.count(0, 620, 800, 768, lambda p: sum(p) > 0) == 0,
          "nothing drawn above the 600-pixel viewport")
    check(sum(resized.picture.pixel(60, 10)) > 60, "the dashboard fits the smaller view")


def case_command_line():
    bad = subprocess.run([RUNNER, "--frames", "lots"], cwd=BUILD, capture_output=True, timeout=60)
    check(bad.returncode == 2, "a bad option: exit code %d" % bad.returncode)
    check(b"usage:" in bad.stderr, "usage shown")
    with tempfile.NamedTemporaryFile("w", suffix=".txt") as script:
        script.write("1 push U\n")
        script.flush()
        broken = subprocess.run([RUNNER, "--script", script.name], cwd=BUILD, capture_output=True,
                                timeout=60)
    check(broken.returncode == 2, "a bad script: exit code %d" % broken.returncode)
    check(b"line 1" in broken.stderr, "the bad line is named")


def case_no_display(game):
    if any(os.path.exists(p) for p in ["/dev/dri/card0", "/dev/dri/card1"]):
        print("SKIP: this machine has a screen of its own (DRM)")
        sys.exit(77)
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    env["OMBRELIX_LOG"] = "stderr"  # the developer's log beside the player's one sentence
    done = subprocess.run([game], cwd=BUILD, env=env, capture_output=True, timeout=120)
    log = done.stderr.decode("latin-1")
    check(done.returncode == 1, "exit code %d" % done.returncode)
    check("ERROR: Failed To Register The Window Class.\n" in log, "the failure box, logged")
    check(log.rstrip("\n").splitlines()[-1].startswith("ombrelix: no display"),
          "a clear last line: %r" % log[-300:])


def main():
    global RUNNER, BUILD
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    RUNNER, BUILD, case = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    cases = {
        "startup_log": case_startup_log,
        "object_dump": case_object_dump,
        "flight_changes_dump": case_flight_changes_dump,
        "overlays": case_overlays,
        "drawing_toggles": case_drawing_toggles,
        "quit": case_quit,
        "command_line": case_command_line,
        "no_display": lambda: case_no_display(sys.argv[4]),
    }
    try:
        cases[case]()
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    print("passed: %s" % case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
