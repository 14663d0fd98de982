#!/usr/bin/env python3
"""End-to-end stories of the game as a Linux player meets it: the command line, a quiet
terminal, playing again, a gamepad, the settings file and the installed game.

Usage: shell_e2e.py RUNNER BUILD_DIR CASE GAME VERSION
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

import runner_e2e as game
from runner_e2e import check

GAME = VERSION = ""
DUMP = re.compile(r'<OBJECT type="([^"]+)" objid="obj\d+" x="([-\d.]+)" y="([-\d.]+)" '
                  r'z="([-\d.]+)"/>')
GOAL = ('<OBJECT type="OBJ3D_ASTEROID" objid="goal" x="0" y="0" z="-10">'
        '<TRIGGER cause="death" event="endlevel"/></OBJECT>\n'
        '<OBJECT type="OBJ3D_KNACKER" objid="k" x="300" y="40" z="-900"/>')
EIGHT_ROCKS = "\n".join('<OBJECT type="OBJ3D_ASTEROID" objid="r%d" x="%d" y="0" z="-10"/>'
                        % (i, i) for i in range(8)) + GOAL[GOAL.index("\n"):]
SPAWN_AND_DUMP = "31 down B\n32 up B\n33 down V\n34 up V\n"
HAS_SCREEN = any(os.path.exists(p) for p in ["/dev/dri/card0", "/dev/dri/card1"])


def dump(log):
    return [m.groups() for m in DUMP.finditer(log)]


def spawned_rock(script, args=()):
    """Plays the script, spawns a rock ahead of the ship at frame 31 and gives where it is."""
    played = game.run(script + SPAWN_AND_DUMP, 35, args, screenshot=False)
    check(played.returncode == 0, "exit code %d" % played.returncode)
    rocks = [d for d in dump(played.log) if d[0].endswith("asteroid.ms3d")]
    check(rocks, "no rock in the dump")
    return rocks[0], played.log


def play(args, cwd=None, binary=None, **env):
    """The desktop game with no display at all; gives (exit code, stdout, stderr)."""
    env = dict({k: v for k, v in os.environ.items()
                if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "OMBRELIX_LOG")},
               **env)
    done = subprocess.run([binary or GAME] + args, cwd=cwd or game.BUILD, env=env,
                          capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


# ---------------------------------------------------------------------------------------------


def case_command_line():
    usage, version = "usage: ombrelix", "ombrelix %s\n" % VERSION
    for args, shown in ((["--windowed", "--help"], usage), (["-h"], usage),
                        (["--version"], version), (["-V"], version)):
        code, out, _ = play(args)
        check(code == 0 and out.startswith(shown), "%s: %d %r" % (args, code, out[:80]))
    # One of each kind of refusal; every sentence the parser can give is CommandLineTest's.
    for args in (["--wobble"], ["--level"], ["--volume", "101"], ["--mute=yes"], ["level.xml"]):
        code, out, err = play(args, OMBRELIX_LOG="stderr")
        check(code == 2, "%s: exit code %d" % (args, code))
        check(err.startswith("ombrelix: ") and "usage: ombrelix" in err, "%s: %r" % (args, err))
        check("Logging started" not in err and out == "", "%s: nothing starts" % args)


def case_quiet_terminal():
    if HAS_SCREEN:
        print("SKIP: this machine has a screen of its own (DRM)")
        sys.exit(77)
    code, _, err = play([])
    check(code == 1, "no display: exit code %d" % code)
    check(len(err.splitlines()) == 1 and err.startswith("ombrelix: no display"),
          "one plain sentence: %r" % err)
    with tempfile.TemporaryDirectory() as tmp:
        log = os.path.join(tmp, "game.log")
        for args, asked in ((["--log", log], True), (["--windowed", "--log", log], False),
                            (["--fullscreen"], False)):
            code, _, err = play(args, OMBRELIX_LOG=log)
            check(len(err.splitlines()) == 1, "%s: the terminal stays quiet: %r" % (args, err))
            text = pathlib.Path(log).read_text()
            check(text.startswith("Logging started") and
                  "ERROR: Failed To Register The Window Class." in text,
                  "%s: log %r" % (args, text))
            check(("Start FullScreen?" in text) == asked, "%s: the start question" % args)
        # Settings are written only when asked, with the command line's choices in them.
        settings = os.path.join(tmp, "config", "ombrelix", "settings.ini")
        play(["--windowed"], XDG_CONFIG_HOME=os.path.join(tmp, "config"))
        check(not os.path.exists(settings), "settings written without being asked")
        play(["--windowed", "--volume", "30", "--save-settings"],
             XDG_CONFIG_HOME=os.path.join(tmp, "config"))
        text = pathlib.Path(settings).read_text()
        check("fullscreen = no\nfullscreen_mode = desktop\nvolume = 30\n" in text,
              "saved settings: %r" % text)


def case_play_again():
    def level_end(played):
        return played.picture.count(game.MESSAGES, game.is_level_end_colour, 3)

    for objects, enter in ((GOAL, 10), (EIGHT_ROCKS, 5)):
        with game.run_folder(objects) as tmp:
            fresh = game.run("0 down V\n1 up V\n", 2, cwd=tmp, screenshot=False)
            again = game.run("%d down ENTER\n%d up ENTER\n%d down V\n%d up V\n" % (
                enter, enter + 1, enter + 1, enter + 2), enter + 2, cwd=tmp)
            check(again.returncode == 0, "exit code %d" % again.returncode)
            check(again.log.count("WinMain(): level started again") == 1, "one new game")
            check(dump(fresh.log) and dump(again.log) == dump(fresh.log),
                  "the new game is the fresh start's world:\n%s\n%s" % (dump(again.log),
                                                                        dump(fresh.log)))
            if objects == GOAL:
                check(level_end(again) < 30, "the message is gone")
                # Before the end, Enter does nothing, and the message then stays.
                early = game.run("0 down ENTER\n1 up ENTER\n", 12, cwd=tmp)
                check("level started again" not in early.log, "Enter while flying starts nothing")
                check(level_end(early) > 300, "LEVEL COMPLETE stays until Enter")
                check(early.picture.count(game.MESSAGES, game.is_game_over_colour, 3) < 30,
                      "but no game over")
                game.check_cockpit(early.picture, True, "level ended")


def case_gamepad():
    keyboard, _ = spawned_rock("1 down I\n15 up I\n16 down S\n30 up S\n")
    turned, _ = spawned_rock("1 down I\n15 up I\n16 down S\n20 up S\n")
    check(float(keyboard[1]) < -20.0, "the keys turned the ship: %s" % (keyboard,))
    pad = "0 pad attach\n1 pad button rightshoulder down\n15 pad button rightshoulder up\n"
    for stick, end, expected in (("-9000", "30 pad axis leftx 0", keyboard),  # past the dead zone
                                 ("-32768", "20 pad detach", turned),  # pulled out mid-turn
                                 ("-8000", "30 pad axis leftx 0", None)):  # inside it
        rock, _ = spawned_rock(pad + "16 pad axis leftx %s\n%s\n" % (stick, end))
        if expected:
            check(rock == expected,
                  "stick %s flies as the keys do: %s, %s" % (stick, rock, expected))
        else:
            check(float(rock[1]) == 0.0 and float(rock[3]) < -250.0,
                  "inside the dead zone the ship only flies ahead: %s" % (rock,))

    played = game.run("0 pad attach\n12 pad axis righttrigger 32767\n"
                      "13 pad axis righttrigger 0\n14 down V\n15 up V\n", 16, screenshot=False)
    shots = [d for d in dump(played.log) if "fugenmasse" in d[0]]
    check(len(shots) == 1 and float(shots[0][1]) == 20.0, "the trigger fired once: %s" % shots)

    with game.run_folder(EIGHT_ROCKS) as tmp:
        played = game.run("0 pad attach\n5 pad button start down\n6 pad button start up\n"
                          "8 pad button back down\n", 50, cwd=tmp, screenshot=False)
    check(played.returncode == 0 and "level started again" in played.log,
          "Start plays again after GAME OVER")
    check(played.log.count("Logging started") == 1 and played.log.endswith(game.DONE),
          "Back quits")


def case_settings():
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "settings.ini")
        pathlib.Path(settings).write_text("[keys]\nturn_left = S, LEFT\nthis is not a setting\n")
        by_s, _ = spawned_rock("16 down S\n30 up S\n")
        by_left, log = spawned_rock("16 down LEFT\n30 up LEFT\n", ["--settings", settings])
        check(by_left == by_s and float(by_s[1]) < -5.0,
              "the added key turns as S does: %s %s" % (by_left, by_s))
        check(log.count(settings + ":3:") == 1, "the broken line is named once")
        plain, _ = spawned_rock("16 down LEFT\n30 up LEFT\n")
        check(float(plain[1]) == 0.0, "without the setting LEFT does nothing: %s" % (plain,))


def case_installed_level():
    with tempfile.TemporaryDirectory() as tmp:
        prefix = os.path.join(tmp, "prefix")
        subprocess.run(["cmake", "--install", game.BUILD, "--prefix", prefix], check=True,
                       capture_output=True)
        for path in ("bin/ombrelix", "bin/ombrelix-headless", "share/applications/ombrelix.desktop",
                     "share/ombrelix/data/levels/level.xml",
                     "share/ombrelix/data/texture/cokpit.tga",
                     "share/ombrelix/data/texture/info.tga",
                     "share/ombrelix/data/texture/campaign.tga",
                     "share/ombrelix/data/levels/campaign.xml",
                     "share/icons/hicolor/scalable/apps/ombrelix.svg"):
            check(os.path.exists(os.path.join(prefix, path)), "%s was not installed" % path)
        hidden = [name for _, folders, files in os.walk(os.path.join(prefix, "share", "ombrelix"))
                  for name in folders + files if name.startswith(".")]
        check(not hidden, "build stamps were installed: %s" % hidden)
        desktop = os.path.join(prefix, "share", "applications", "ombrelix.desktop")
        entry = pathlib.Path(desktop).read_text()
        check("\nExec=ombrelix\n" in entry and "\nExec=ombrelix --campaign-level 1\n" in entry
              and "\nExec=ombrelix --reset-progress\n" in entry,
              "the desktop entry starts the launcher, from the first level or afresh")
        if shutil.which("desktop-file-validate"):
            valid = subprocess.run(["desktop-file-validate", desktop]).returncode == 0
            check(valid, "the desktop entry is not valid")
        player = os.path.join(tmp, "player")
        os.makedirs(player)
        with open(os.path.join(player, "mine.xml"), "w") as f:
            f.write('<?xml version="1.0"?>\n<LEVEL>\n<OBJECT type="OBJ3D_KNACKER" objid="k" '
                    'x="123" y="45" z="-678"/>\n</LEVEL>\n')
        # Through a link, as a menu or a PATH would start it.
        os.symlink(os.path.join(prefix, "bin", "ombrelix-headless"), os.path.join(tmp, "linked"))
        done = subprocess.run([os.path.join(tmp, "linked"), "--frames", "2", "--level", "mine.xml",
                               "--script", "-"], cwd=player, input=b"0 down V\n",
                              capture_output=True, timeout=120)
        log = done.stderr.decode()
        check(done.returncode == 0 and log.endswith(game.DONE),
              "exit code %d: %s" % (done.returncode, log[-300:]))
        check("WinMain(): cockpit texture loaded/created successfully." in log, "data not found")
        check(dump(log) == [("data/model/knacker.ms3d", "123.000000", "45.000000",
                             "-678.000000")], "the player's own level was played: %s" % dump(log))
        # The installed campaign's first level.
        campaign = os.path.join(prefix, "share", "ombrelix", "data", "levels", "campaign.xml")
        done = subprocess.run([os.path.join(tmp, "linked"), "--frames", "2", "--campaign",
                               campaign], cwd=player, capture_output=True, timeout=120)
        check(done.returncode == 0 and "WinMain(): campaign level 1 of 6: First Flight" in
              done.stderr.decode(), "the installed campaign: %s" % done.stderr.decode()[-300:])
        for name, found in (("mine.xml", True), ("none.xml", False))[:0 if HAS_SCREEN else 2]:
            log = os.path.join(tmp, name + ".log")  # an absolute path stays as it is
            code, _, err = play(["--level", name, "--log", log], player,
                                os.path.join(prefix, "bin", "ombrelix"))
            check(code == 1 and len(err.splitlines()) == 1, "one sentence: %d %r" % (code, err))
            check(("cannot read the level file %s/%s" % (player, name) in err) != found,
                  "the game looks for %s where the player is: %r" % (name, err))
            check(os.path.exists(log), "no log at %s" % log)


if __name__ == "__main__":
    if len(sys.argv) == 6:
        GAME, VERSION = os.path.abspath(sys.argv.pop(4)), sys.argv.pop(4)
    sys.exit(game.main(globals()))
