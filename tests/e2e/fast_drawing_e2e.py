#!/usr/bin/env python3
"""The drawing shortcuts keep the picture: one scripted flight (shots with their smoke, shields,
an explosion, the text and the instruments) rendered with the shortcuts and with --plain-drawing,
on each drawing path, gives frames that differ in at most 0.1 % of the pixels and nowhere in the
text or the instruments.

Usage: fast_drawing_e2e.py RUNNER BUILD_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

# Full thrust, a turn so that some of the field lies outside the view, shots, and an explosion
# (debug key 1) just before the last frame.
FLIGHT = ["4 down I", "30 down F", "37 up F"] + \
    ["%d down U\n%d up U" % (f, f + 1) for f in (150, 165, 178, 188)] + ["190 down 1", "191 up 1"]
PATHS = {"display lists": [], "immediate mode": ["0 down F4", "1 up F4"],
         "vertex arrays": ["0 down F4", "1 up F4", "2 down F5", "3 up F5"]}
FRAMES = 196
# Window pixels, rows counted from the top: the debug text and the instrument panel.
TEXT = (40, 10, 470, 170)
INSTRUMENTS = (0, 600, 1024, 768)


def picture(runner, build, script_lines, plain, folder):
    script = os.path.join(folder, "script")
    with open(script, "w") as f:
        f.write("\n".join(script_lines) + "\n")
    shot = os.path.join(folder, "plain.ppm" if plain else "fast.ppm")
    args = [runner, "--frames", str(FRAMES), "--dt", "0.05", "--seed", "7", "--script", script,
            "--screenshot", shot] + (["--plain-drawing", "all"] if plain else [])
    done = subprocess.run(args, cwd=build, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if done.returncode != 0:
        raise SystemExit("runner failed: %s" % done.stderr.decode()[-500:])
    with open(shot, "rb") as f:
        data = f.read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    return int(header.group(1)), int(header.group(2)), data[header.end():], done.stderr.decode()


def main():
    runner, build = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        for name, toggles in PATHS.items():
            width, height, fast, fast_log = picture(runner, build, toggles + FLIGHT, False, folder)
            _, _, plain, plain_log = picture(runner, build, toggles + FLIGHT, True, folder)
            differing = [(i // 3 % width, i // 3 // width) for i in range(0, len(fast), 3)
                         if fast[i:i + 3] != plain[i:i + 3]]

            def inside(box):
                return sum(1 for x, y in differing if box[0] <= x < box[2] and box[1] <= y < box[3])
            share = 100.0 * len(differing) / (width * height)
            print("%s: %d pixels differ (%.4f %%)" % (name, len(differing), share))
            if share > 0.1:
                failures.append("%s: %.4f %% of the pixels differ" % (name, share))
            if inside(TEXT) or inside(INSTRUMENTS):
                failures.append("%s: the text or the instruments changed" % name)
            if fast_log != plain_log:
                failures.append("%s: the log differs" % name)
            for what in ("SmokeCloud::init", "Explosion::init"):
                if what not in fast_log:
                    failures.append("%s: the scene has no %s" % (name, what))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
