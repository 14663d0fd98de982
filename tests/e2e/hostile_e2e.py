#!/usr/bin/env python3
"""End-to-end story of hostile command lines: files that are named pipes, devices, folders,
too big or unwritable, given to the runner and to the game. Every run ends within seconds with
exit code 0, 1 or 2 and says what it refused in one sentence; nothing waits on a pipe.

Usage: hostile_e2e.py RUNNER BUILD_DIR CASE GAME VERSION
"""
import os
import pathlib
import random
import subprocess
import sys
import tempfile

import runner_e2e as game
from runner_e2e import check

GAME = VERSION = ""
SECONDS = 20


def run(program, args, stdout=subprocess.PIPE, cwd=None):
    """Runs a program with no display; gives (exit code, stderr). A hang fails the story."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "OMBRELIX_LOG")}
    command = [program]
    if program == game.RUNNER:
        command += ["--frames", "3", "--dt", "0.05", "--log", os.devnull]
    command += args
    try:
        done = subprocess.run(command, cwd=cwd or game.BUILD, env=env, stdout=stdout,
                              stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=SECONDS)
    except subprocess.TimeoutExpired:
        raise game.Failure("%s hangs" % " ".join(args))
    return done.returncode, done.stderr.decode("latin-1")


def case_files():
    with tempfile.TemporaryDirectory() as tmp:
        pipe = os.path.join(tmp, "pipe")
        os.mkfifo(pipe)
        noise = os.path.join(tmp, "noise.ini")
        pathlib.Path(noise).write_bytes(random.Random(5).randbytes(5000))
        garbage = os.path.join(tmp, "garbage.ini")  # no NUL: read line by line
        with open(garbage, "wb") as f:
            f.write(bytes(b for b in random.Random(6).randbytes(6000) if b) + b"\x1b[2J\n")
        huge_keys = os.path.join(tmp, "keys.ini")
        pathlib.Path(huge_keys).write_text("[keys]\nfire = " + "U, " * 90000 + "U\n")
        huge_level = os.path.join(tmp, "huge.xml")
        with open(huge_level, "wb") as f:
            f.truncate(16 * 1024 * 1024 + 1)
        crowd = os.path.join(tmp, "crowd.xml")  # one object over the limit, all at one point
        with open(crowd, "w") as f:
            f.write("<LEVEL>%s</LEVEL>" % ('<OBJECT type="OBJ3D_ASTEROID" objid="r"/>' * 6001))
        too_many = "the level file %s holds 6001 objects, more than the 6000 a level may hold" % crowd
        missing = os.path.join(tmp, "missing.xml")
        shipped = "data/levels/campaign.xml"
        R, G = game.RUNNER, GAME
        # program, arguments, exit code, what stderr says (None: nothing, the run plays through).
        # A pipe is given to every option (any of them could wait on it); a device and a folder to
        # read, refused in the same words wherever they are named, to the level alone.
        rows = [
            (R, ["--settings", pipe], 0, "cannot read the settings file %s: it is a named pipe" % pipe),
            (R, ["--settings", huge_keys], 0, "it holds more than 64 KiB"),
            (R, ["--settings", noise], 0, "%s: it is not a text file" % noise),
            (R, ["--settings", garbage], 0, "more lines cannot be used (ignored)"),
            (R, ["--level", pipe], 1, "cannot read the level file %s: it is a named pipe" % pipe),
            (R, ["--level", "/dev/zero"], 1, "it is a device, not a regular file"),
            (R, ["--level", tmp], 1, "cannot read the level file %s: it is a directory" % tmp),
            (R, ["--level", missing], 1, "No such file or directory"),
            (R, ["--level", huge_level], 1, "it holds more than 16 MiB"),
            (R, ["--level", crowd], 1, too_many),
            (R, ["--script", pipe], 2, "cannot read the script %s: it is a named pipe" % pipe),
            (R, ["--log", "/dev/full"], 0, "cannot write the log to /dev/full: No space left"),
            (R, ["--log", pipe], 0, "cannot write the log to %s: it is a named pipe that nothing"
             % pipe),
            (R, ["--screenshot", pipe], 1, "no picture written to %s: it is a named pipe" % pipe),
            (R, ["--screenshot", tmp], 1, "no picture written to %s: Is a directory" % tmp),
            (R, ["--screenshot", "/dev/full"], 1, "No space left on device"),
            (R, ["--screenshot", "/dev/null"], 0, None),
            (R, ["--audio-out", pipe], 0, "cannot write the sound to %s: it is a named pipe" % pipe),
            (R, ["--audio-out", "/dev/full"], 0, "cannot write the sound to /dev/full: No space"),
            (R, ["--campaign", pipe], 1, "cannot read the campaign %s: it is a named pipe" % pipe),
            (R, ["--campaign", huge_level], 1, "it holds more than 16 MiB"),
            (R, ["--campaign", shipped, "--progress", pipe], 0, "cannot read the progress file %s: "
             "it is a named pipe, not a regular file; nothing will be saved in this run" % pipe),
            (R, ["--campaign", shipped, "--progress", noise], 0, "it is kept as %s.broken" % noise),
            (G, ["--settings", pipe], 1, "cannot read the settings file %s: it is a named pipe" % pipe),
            (G, ["--level", pipe], 1, "cannot read the level file %s: it is a named pipe" % pipe),
            (G, ["--level", crowd], 1, too_many),
            (G, ["--log", "/dev/full"], 1, "cannot write the log to /dev/full: No space left"),
            (G, ["--campaign", pipe], 1, "cannot read the campaign %s: it is a named pipe" % pipe),
            (G, ["--progress", pipe], 1, "cannot read the progress file %s: it is a named pipe"
             % pipe),
            (G, ["--campaign-level", "7"], 1, "the campaign data/levels/campaign.xml has 6 "
             "levels, so it cannot start at level 7"),
            (G, ["--windowed", "--settings", pipe, "--save-settings"], 1,
             "cannot write the settings to %s: it is a named pipe that nothing reads" % pipe),
        ]
        for program, args, code, said in rows:
            name = "%s %s" % (os.path.basename(program), " ".join(args))
            got, err = run(program, args)
            check(got == code, "%s: exit code %d, not %d: %r" % (name, got, code, err))
            if said is not None:
                check(said in err, "%s: %r" % (name, err))
                prefix = os.path.basename(program) + ": "
                check(all(line.startswith(prefix) for line in err.splitlines()),
                      "%s: every line is a sentence of the program's: %r" % (name, err))
                check("\x1b" not in err and len(err.splitlines()) <= 9,
                      "%s: a few plain lines at most: %r" % (name, err))
            else:
                check(err == "", "%s: nothing to say: %r" % (name, err))
            if program == G and code == 1 and args[0] not in ("--level", "--campaign",
                                                               "--campaign-level"):
                check("no display" in err, "%s: the game went on after the refusal" % name)

        # The level maker's report needs no display: it says why the game would refuse a level.
        done = subprocess.run([GAME, "--check-level", crowd], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=SECONDS)
        check(done.returncode == 1 and done.stderr == b"" and
              done.stdout.decode() == "%s: 6001 objects, more than the 6000 a level may hold: "
              "refused\n" % crowd, "--check-level on a crowd: %r" % (done,))

        # A report nobody reads any more (piped into head) is a failed write, not a SIGPIPE.
        read_end, write_end = os.pipe()
        os.close(read_end)
        got, err = run(game.RUNNER, ["--report"], stdout=write_end)
        os.close(write_end)
        check(got == 1 and "cannot write the report: Broken pipe" in err,
              "a closed output: %d %r" % (got, err))


if __name__ == "__main__":
    if len(sys.argv) == 6:
        GAME, VERSION = os.path.abspath(sys.argv.pop(4)), sys.argv.pop(4)
    sys.exit(game.main(globals()))
