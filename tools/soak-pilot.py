#!/usr/bin/env python3
"""Writes a window script for ombrelix-headless: a seeded random pilot who holds and releases
the flight keys, fires in bursts, now and then spawns a fighter (Space), an asteroid (B) or an
explosion (1), toggles the drawing paths (F3-F6) and dumps the objects (V). The same seed gives
the same script, and a shorter run is the start of a longer one."""

import argparse
import random
import sys

FLIGHT_KEYS = "SFEDWRIK"
# Mean frames a flight key stays held and stays released.
HOLD_FRAMES, REST_FRAMES = 40, 120
# Chance per frame of each one-shot key.
ONE_SHOT_CHANCE = {"U": 1 / 12, "1": 1 / 600, "SPACE": 1 / 4000, "B": 1 / 4000,
                   "F3": 1 / 2500, "F4": 1 / 2500, "F5": 1 / 2500, "F6": 1 / 2500,
                   "V": 1 / 5000}


def pilot(frames, seed, width, height):
    rng = random.Random(seed)
    lines = [f"# soak pilot, seed {seed}, {frames} frames", f"0 size {width} {height}"]
    # Each flight key alternates between released and held for random stretches.
    next_change = {key: 1 + int(rng.random() * REST_FRAMES) for key in FLIGHT_KEYS}
    held = {key: False for key in FLIGHT_KEYS}
    for frame in range(1, frames):
        for key in FLIGHT_KEYS:
            if frame == next_change[key]:
                held[key] = not held[key]
                lines.append(f"{frame} {'down' if held[key] else 'up'} {key}")
                mean = HOLD_FRAMES if held[key] else REST_FRAMES
                next_change[key] = frame + 1 + int(rng.random() * 2 * mean)
        for key, chance in ONE_SHOT_CHANCE.items():
            if rng.random() < chance:
                lines.append(f"{frame} down {key}")
                lines.append(f"{frame + 1} up {key}")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--frames", type=int, required=True)
    parser.add_argument("--seed", type=int, default=1)
    # A small window keeps the software rasteriser's share of each frame small; every drawing
    # path still runs.
    parser.add_argument("--size", nargs=2, type=int, default=(160, 120), metavar=("W", "H"))
    parser.add_argument("--output", help="script file (default: standard output)")
    args = parser.parse_args()
    script = pilot(args.frames, args.seed, *args.size)
    if args.output:
        with open(args.output, "w", encoding="utf-8") as out:
            out.write(script)
    else:
        sys.stdout.write(script)
    return 0


if __name__ == "__main__":
    sys.exit(main())
