#!/usr/bin/env python3
"""End-to-end stories of the game as a Linux player meets it: the command line, a quiet
terminal, playing again, a gamepad, the settings file and the installed launcher.

Usage: shell_e2e.py CASE BUILD_DIR RUNNER GAME VERSION
"""
import os
import re
import subprocess
import sys
import tempfile

BUILD = RUNNER = GAME = VERSION = ""
SKIP = 77


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run_runner(script, frames, args=(), cwd=None, screenshot=False):
    """The headless game with a fixed step and seed; gives (exit code, log, picture or None)."""
    with tempfile.TemporaryDirectory() as tmp:
        command = [RUNNER, "--frames", str(frames), "--dt", "0.05", "--seed", "1"] + list(args)
        with open(os.path.join(tmp, "session.txt"), "w") as f:
            f.write(script)
        command += ["--script", os.path.join(tmp, "session.txt")]
        shot = os.path.join(tmp, "last.ppm")
        if screenshot:
            command += ["--screenshot", shot]
        done = subprocess.run(command, cwd=cwd or BUILD, capture_output=True, timeout=240)
        picture = read_ppm(shot) if screenshot and os.path.exists(shot) else None
        return done.returncode, done.stderr.decode("latin-1"), picture


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    return int(header.group(1)), int(header.group(2)), data[header.end():]


def level_end_pixels(picture):
    """Pixels of the level-end message's colour in the upper half of the window."""
    width, height, rgb = picture
    count = 0
    for y in range(20, height // 2 - 10, 3):  # rows from the top
        for x in range(0, width, 3):
            r, g, b = rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]
            count += g > 120 and r < g - 40 and 60 < b < g
    return count


DUMP = re.compile(r'<OBJECT type="([^"]+)" objid="obj\d+" x="([-\d.]+)" y="([-\d.]+)" '
                  r'z="([-\d.]+)"/>')


def dump(log):
    return [(m.group(1), m.group(2), m.group(3), m.group(4)) for m in DUMP.finditer(log)]


def level_folder(tmp, objects):
    """A run folder with the build's art and a level of the given OBJECT lines."""
    os.makedirs(os.path.join(tmp, "data", "levels"))
    for part in ("model", "texture"):
        os.symlink(os.path.join(BUILD, "data", part), os.path.join(tmp, "data", part))
    with open(os.path.join(tmp, "data", "levels", "level.xml"), "w") as f:
        f.write('<?xml version="1.0"?>\n<LEVEL>\n%s\n</LEVEL>\n' % objects)
    return tmp


GOAL = ('<OBJECT type="OBJ3D_ASTEROID" objid="goal" x="0" y="0" z="-10">'
        '<TRIGGER cause="death" event="endlevel"/></OBJECT>\n'
        '<OBJECT type="OBJ3D_KNACKER" objid="k" x="300" y="40" z="-900"/>')
EIGHT_ROCKS = "\n".join('<OBJECT type="OBJ3D_ASTEROID" objid="r%d" x="%d" y="0" z="-10"/>'
                        % (i, i) for i in range(8)) + GOAL[GOAL.index("\n"):]


def no_display_env(**extra):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "OMBRELIX_LOG")}
    env.update(extra)
    return env


def skip_with_a_screen():
    if any(os.path.exists(p) for p in ["/dev/dri/card0", "/dev/dri/card1"]):
        print("SKIP: this machine has a screen of its own (DRM)")
        sys.exit(SKIP)


def game(args, cwd=None, **env):
    done = subprocess.run([GAME] + args, cwd=cwd or BUILD, env=no_display_env(**env),
                          capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


# ---------------------------------------------------------------------------------------------


def case_command_line():
    code, out, err = game(["--help"])
    check(code == 0 and out.startswith("usage: ombrelix") and "--save-settings" in out,
          "--help: %d %r" % (code, out[:80]))
    code, out, _ = game(["--version"])
    check(code == 0 and out == "ombrelix %s\n" % VERSION, "--version: %d %r" % (code, out))
    for args in (["--wobble"], ["--level"], ["--volume", "101"], ["--mute=yes"]):
        code, out, err = game(args, OMBRELIX_LOG="stderr")
        check(code == 2, "%s: exit code %d" % (args, code))
        check(err.startswith("ombrelix: ") and "usage: ombrelix" in err, "%s: %r" % (args, err))
        check("Logging started" not in err and out == "", "%s: nothing starts" % args)


def case_quiet_terminal():
    skip_with_a_screen()
    code, _, err = game([])
    check(code == 1, "no display: exit code %d" % code)
    check(len(err.splitlines()) == 1 and err.startswith("ombrelix: no display"),
          "one plain sentence: %r" % err)
    with tempfile.TemporaryDirectory() as tmp:
        log = os.path.join(tmp, "game.log")
        for args, asked in ((["--log", log], True), (["--windowed", "--log", log], False),
                            (["--fullscreen"], False)):
            code, _, err = game(args, OMBRELIX_LOG=log)
            check(len(err.splitlines()) == 1, "%s: the terminal stays quiet: %r" % (args, err))
            with open(log) as f:
                text = f.read()
            check(text.startswith("Logging started") and
                  "ERROR: Failed To Register The Window Class." in text, "%s: log %r" % (args, text))
            check(("Start FullScreen?" in text) == asked, "%s: the start question" % args)
        # Settings are written only when asked, with the command line's choices in them.
        settings = os.path.join(tmp, "config", "ombrelix", "settings.ini")
        game(["--windowed"], XDG_CONFIG_HOME=os.path.join(tmp, "config"))
        check(not os.path.exists(settings), "settings written without being asked")
        game(["--windowed", "--volume", "30", "--save-settings"],
             XDG_CONFIG_HOME=os.path.join(tmp, "config"))
        with open(settings) as f:
            text = f.read()
        check("fullscreen = no\nvolume = 30\n" in text, "saved settings: %r" % text)
        code, _, err = game(["--level", os.path.join(tmp, "none.xml")])
        check(code == 1 and len(err.splitlines()) == 1 and
              "cannot read the level file %s" % os.path.join(tmp, "none.xml") in err,
              "missing level: %d %r" % (code, err))


def case_play_again():
    for objects, enter in ((GOAL, 10), (EIGHT_ROCKS, 5)):
        with tempfile.TemporaryDirectory() as tmp:
            level_folder(tmp, objects)
            _, fresh, _ = run_runner("0 down V\n1 up V\n", 2, cwd=tmp)
            script = "%d down ENTER\n%d up ENTER\n%d down V\n%d up V\n" % (
                enter, enter + 1, enter + 1, enter + 2)
            code, log, picture = run_runner(script, enter + 2, cwd=tmp, screenshot=True)
            check(code == 0, "exit code %d" % code)
            check(log.count("WinMain(): level started again") == 1, "one new game")
            check(dump(fresh) and dump(log) == dump(fresh),
                  "the new game is the fresh start's world:\n%s\n%s" % (dump(log), dump(fresh)))
            if objects == GOAL:
                check(level_end_pixels(picture) < 30, "the message is gone")
                # Before the end, Enter does nothing, and the message then stays.
                code, log, picture = run_runner("0 down ENTER\n1 up ENTER\n", 12, cwd=tmp,
                                                screenshot=True)
                check("level started again" not in log, "Enter while flying starts nothing")
                check(level_end_pixels(picture) > 300, "LEVEL COMPLETE stays until Enter")


def spawned_rock(log):
    rocks = [d for d in dump(log) if d[0].endswith("asteroid.ms3d")]
    check(rocks, "no rock in the dump")
    return rocks[0]


SPAWN_AND_DUMP = "31 down B\n32 up B\n33 down V\n34 up V\n"


def case_gamepad():
    keyboard = spawned_rock(run_runner("1 down I\n15 up I\n16 down S\n30 up S\n" +
                                       SPAWN_AND_DUMP, 35)[1])
    turned = spawned_rock(run_runner("1 down I\n15 up I\n16 down S\n20 up S\n" +
                                     SPAWN_AND_DUMP, 35)[1])
    check(float(keyboard[1]) < -20.0, "the keys turned the ship: %s" % (keyboard,))
    pad = "0 pad attach\n1 pad button rightshoulder down\n15 pad button rightshoulder up\n"
    for stick, end, expected in (("-9000", "30 pad axis leftx 0", keyboard),  # past the dead zone
                                 ("-32768", "20 pad detach", turned),  # pulled out mid-turn
                                 ("-8000", "30 pad axis leftx 0", None)):  # inside it
        code, log, _ = run_runner(pad + "16 pad axis leftx %s\n%s\n" % (stick, end) +
                                  SPAWN_AND_DUMP, 35)
        check(code == 0, "exit code %d" % code)
        rock = spawned_rock(log)
        if expected:
            check(rock == expected, "stick %s flies as the keys do: %s, %s" % (stick, rock, expected))
        else:
            check(float(rock[1]) == 0.0 and float(rock[3]) < -250.0,
                  "inside the dead zone the ship only flies ahead: %s" % (rock,))

    _, log, _ = run_runner("0 pad attach\n12 pad axis righttrigger 32767\n"
                           "13 pad axis righttrigger 0\n14 down V\n15 up V\n", 16)
    shots = [d for d in dump(log) if "fugenmasse" in d[0]]
    check(len(shots) == 1 and float(shots[0][1]) == 20.0, "the trigger fired once: %s" % shots)

    with tempfile.TemporaryDirectory() as tmp:
        level_folder(tmp, EIGHT_ROCKS)
        code, log, _ = run_runner("0 pad attach\n5 pad button start down\n6 pad button start up\n"
                                  "8 pad button back down\n", 50, cwd=tmp)
    check(code == 0 and "level started again" in log, "Start plays again after GAME OVER")
    check(log.count("Logging started") == 1 and re.search(r"done +-+\n$", log), "Back quits")


def case_settings():
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "settings.ini")
        with open(settings, "w") as f:
            f.write("[keys]\nturn_left = S, LEFT\nthis is not a setting\n")
        by_s = spawned_rock(run_runner("16 down S\n30 up S\n" + SPAWN_AND_DUMP, 35)[1])
        code, log, _ = run_runner("16 down LEFT\n30 up LEFT\n" + SPAWN_AND_DUMP, 35,
                                  args=["--settings", settings])
        check(code == 0, "exit code %d" % code)
        check(spawned_rock(log) == by_s and float(by_s[1]) < -5.0,
              "the added key turns as S does: %s %s" % (spawned_rock(log), by_s))
        check(log.count(settings + ":3:") == 1, "the broken line is named once")
        plain = spawned_rock(run_runner("16 down LEFT\n30 up LEFT\n" + SPAWN_AND_DUMP, 35)[1])
        check(float(plain[1]) == 0.0, "without the setting LEFT does nothing: %s" % (plain,))


def case_installed_level():
    with tempfile.TemporaryDirectory() as tmp:
        prefix = os.path.join(tmp, "prefix")
        subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True,
                       capture_output=True)
        player = os.path.join(tmp, "player")
        os.makedirs(player)
        with open(os.path.join(player, "mine.xml"), "w") as f:
            f.write('<?xml version="1.0"?>\n<LEVEL>\n<OBJECT type="OBJ3D_KNACKER" objid="k" '
                    'x="123" y="45" z="-678"/>\n</LEVEL>\n')
        done = subprocess.run([os.path.join(prefix, "bin", "ombrelix-headless"), "--frames", "2",
                               "--level", "mine.xml", "--script", "/dev/stdin"], cwd=player,
                              input=b"0 down V\n", capture_output=True, timeout=120)
        log = done.stderr.decode()
        check(done.returncode == 0, "exit code %d: %s" % (done.returncode, log[-300:]))
        check(dump(log) == [("data/model/knacker.ms3d", "123.000000", "45.000000",
                             "-678.000000")], "the player's own level was played: %s" % dump(log))
        if not any(os.path.exists(p) for p in ["/dev/dri/card0", "/dev/dri/card1"]):
            for name, found in (("mine.xml", True), ("none.xml", False)):
                done = subprocess.run([os.path.join(prefix, "bin", "ombrelix"), "--level", name],
                                      cwd=player, env=no_display_env(), capture_output=True,
                                      timeout=120)
                err = done.stderr.decode()
                check(("cannot read the level file %s/%s" % (player, name) in err) != found,
                      "the game looks for %s where the player is: %r" % (name, err))


def main():
    global BUILD, RUNNER, GAME, VERSION
    if len(sys.argv) < 6:
        print(__doc__)
        return 2
    case, BUILD, RUNNER, GAME, VERSION = sys.argv[1:6]
    BUILD, RUNNER, GAME = (os.path.abspath(p) for p in (BUILD, RUNNER, GAME))
    cases = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}
    try:
        cases[case]()
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    print("passed: %s" % case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
