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
import subprocess
import sys
import tempfile

SCENES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench", "scenes")
# The frame compared in each scene, and what must be in it by then.
FRAMES = {"start": (40, []),
          "run": (450, ["SmokeCloud::init"]),
          "battle": (300, ["SmokeCloud::init", "Explosion::init"])}
PATHS = {"display lists": [], "immediate mode": ["down F4", "up F4"],
         "vertex arrays": ["down F4", "up F4", "down F5", "up F5"]}


def scene(name):
    text = pathlib.Path(SCENES, name + ".script").read_text()
    header = re.search(r"^# scene --dt ([\d.]+) --frames \d+ --seed (\d+)", text, re.M)
    events = [line for line in text.splitlines() if line and not line.startswith("#")]
    return header.group(1), header.group(2), events


def picture(runner, build, dt, seed, lines, frames, plain, folder):
    script = os.path.join(folder, "script")
    pathlib.Path(script).write_text("\n".join(lines) + "\n")
    shot = os.path.join(folder, "plain.ppm" if plain else "fast.ppm")
    args = [runner, "--frames", str(frames), "--dt", dt, "--seed", seed, "--script", script,
            "--screenshot", shot, "--mute"] + (["--plain-drawing", "all"] if plain else [])
    done = subprocess.run(args, cwd=build, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if done.returncode != 0:
        raise SystemExit("runner failed: %s" % done.stderr.decode()[-500:])
    data = pathlib.Path(shot).read_bytes()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    return data[header.end():], done.stderr.decode()


def main():
    runner, build, name = sys.argv[1], sys.argv[2], sys.argv[3]
    dt, seed, events = scene(name)
    frames, needed = FRAMES[name]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        for path, toggles in PATHS.items():
            lines = ["%d %s" % (i, t) for i, t in enumerate(toggles)] + events
            fast, fast_log = picture(runner, build, dt, seed, lines, frames, False, folder)
            plain, plain_log = picture(runner, build, dt, seed, lines, frames, True, folder)
            differing = sum(1 for i in range(0, len(fast), 3) if fast[i:i + 3] != plain[i:i + 3])
            print("%s, frame %d, %s: %d pixels differ" % (name, frames, path, differing))
            if differing:
                failures.append("%s: %d pixels differ" % (path, differing))
            if fast_log != plain_log:
                failures.append("%s: the log differs" % path)
            for what in needed:
                if what not in fast_log:
                    failures.append("%s: the scene has no %s by then" % (path, what))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
