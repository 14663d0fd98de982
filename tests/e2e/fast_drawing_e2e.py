#!/usr/bin/env python3
"""The drawing shortcuts keep the picture: a frame of each timedemo scene (bench/scenes/: the
start, the run through the asteroid fields, the battle with its shields, smoke and explosions),
rendered with the shortcuts and with --plain-drawing all, on each drawing path, gives the same
picture to the pixel and the same log.

Usage: fast_drawing_e2e.py RUNNER BUILD_DIR SCENE
"""
import os
import pathlib
import re
import sys

import runner_e2e as game
from runner_e2e import check

SCENES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench", "scenes")
# The frame compared in each scene, and what must be in it by then.
FRAMES = {"start": (40, []),
          "run": (450, ["SmokeCloud::init"]),
          "battle": (300, ["SmokeCloud::init", "Explosion::init"])}
PATHS = {"display lists": [], "immediate mode": ["down F4", "up F4"],
         "vertex arrays": ["down F4", "up F4", "down F5", "up F5"]}


def compare(name):
    text = pathlib.Path(SCENES, name + ".script").read_text()
    dt, seed = re.search(r"^# scene --dt ([\d.]+) --frames \d+ --seed (\d+)", text, re.M).groups()
    events = [line for line in text.splitlines() if line and not line.startswith("#")]
    frames, needed = FRAMES[name]
    failures = []
    for path, toggles in PATHS.items():
        script = "\n".join(["%d %s" % (i, t) for i, t in enumerate(toggles)] + events) + "\n"
        fast, plain = (game.run(script, frames, ["--dt", dt, "--seed", seed, "--mute"] + more)
                       for more in ([], ["--plain-drawing", "all"]))
        for played in (fast, plain):
            check(played.returncode == 0, "%s: the runner failed: %s" % (path, played.log[-500:]))
        differing = sum(1 for i in range(0, len(fast.picture.rgb), 3)
                        if fast.picture.rgb[i:i + 3] != plain.picture.rgb[i:i + 3])
        print("%s, frame %d, %s: %d pixels differ" % (name, frames, path, differing))
        failures += ["%s: %d pixels differ" % (path, differing)] if differing else []
        failures += ["%s: the log differs" % path] if fast.log != plain.log else []
        failures += ["%s: the scene has no %s by then" % (path, what)
                     for what in needed if what not in fast.log]
    check(not failures, "\n".join(failures))


if __name__ == "__main__":
    # Each scene is a case of its own.
    sys.exit(game.main(dict(globals(), **{"case_" + name: (lambda name=name: compare(name))
                                          for name in FRAMES})))
