#!/usr/bin/env python3
"""The timedemo of `make bench`: the headless runner replays each scene of bench/scenes/ on each
drawing path, and prints per scene and path the frame times against the floor frame (measured in
the same process), the heap allocations per steady frame (the game's own and the driver's), the
model draws and triangles per frame and the list compiles, each with its goal beside it.

Variants, taking turns within every round so that a busy machine weighs on all of them alike:
  after      this build;
  near only  this build with the far models hidden (its art without the coarse models);
  before     another build (--before), for example of the branch start.
Every figure is the median over the rounds of that figure in each run.

Usage: timedemo.py --build BUILD [--before BUILD] [--rounds N] [--scenes FOLDER]
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

PATHS = [("display lists", []), ("vertex arrays", ["down F4", "up F4", "down F5", "up F5"]),
         ("immediate mode", ["down F4", "up F4"])]
DEFAULT_PATH = "display lists"
# Goals on the default path: frame time against the floor frame, and no allocation by the game.
GOAL_MEDIAN_RATIO = 2.5
GOAL_P95_RATIO = 3.5
GOAL_GAME_ALLOCATIONS = 0
FAR_MODEL_SUFFIX = ".far.ms3d"
EFFECTS_CAP = 1000  # the world's kMaxLiveEffects
# The start view on a wide screen, each size against a floor frame of its own size: the wide
# frame may cost at most this much more, relative to its floor, than the 4:3 one.
WIDE_SIZE = "1920x1080"
GOAL_WIDE_OVER_FOUR_THIRDS = 1.10

REPORT = [
    ("median", r"^frames \d+ median ([\d.]+) ms"),
    ("p95", r" p95 ([\d.]+) ms"),
    ("p99", r" p99 ([\d.]+) ms"),
    ("floor", r" floor ([\d.]+) ms"),
    ("ratio", r" ratio ([\d.]+) p95 ratio"),
    ("p95 ratio", r" p95 ratio ([\d.]+)"),
    ("all median", r"allocations per steady frame all median (\d+)"),
    ("all p95", r" all median \d+ p95 (\d+)"),
    ("all max", r" all median \d+ p95 \d+ max (\d+)"),
    ("game median", r" game median (\d+)"),
    ("game p95", r" game median \d+ p95 (\d+)"),
    ("game max", r" game median \d+ p95 \d+ max (\d+)"),
    ("driver median", r" driver median (\d+)"),
    ("driver p95", r" driver median \d+ p95 (\d+)"),
    ("driver max", r" driver median \d+ p95 \d+ max (\d+)"),
    ("left out", r" frames left out (\d+)"),
    ("draws", r"model draws per steady frame median (\d+)"),
    ("triangles", r" triangles median (\d+)"),
    ("compiles", r" list compiles (\d+)"),
    ("effects", r"live effects at most (\d+) \(cap (?:\d+)\)"),
]


def read_scene(path):
    """The runner options a scene script names in its '# scene ...' line."""
    with open(path) as f:
        text = f.read()
    header = re.search(r"^# scene --dt ([\d.]+) --frames (\d+) --seed (\d+)", text, re.M)
    if not header:
        raise SystemExit("%s: no '# scene --dt X --frames N --seed S' line" % path)
    events = [line for line in text.splitlines() if line and not line.startswith("#")]
    return {"dt": header.group(1), "frames": header.group(2), "seed": header.group(3),
            "events": events}


def near_only_folder(build, folder):
    """A run directory like the build's, whose model folder lacks the far models."""
    data = os.path.join(folder, "data")
    os.makedirs(os.path.join(data, "model"))
    for entry in os.listdir(os.path.join(build, "data")):
        if entry != "model":
            os.symlink(os.path.join(build, "data", entry), os.path.join(data, entry))
    models = os.path.join(build, "data", "model")
    for model in os.listdir(models):
        if not model.endswith(FAR_MODEL_SUFFIX):
            os.symlink(os.path.join(models, model), os.path.join(data, "model", model))
    return folder


def run(runner, folder, scene, toggles, script_file, size=None):
    with open(script_file, "w") as f:
        f.write("\n".join(["%d %s" % (i, t) for i, t in enumerate(toggles)] + scene["events"]))
        f.write("\n")
    args = [runner, "--frames", scene["frames"], "--dt", scene["dt"], "--seed", scene["seed"],
            "--script", script_file, "--report", "--mute"] + (["--size", size] if size else [])
    done = subprocess.run(args, cwd=folder, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          universal_newlines=True)
    figures = {}
    for name, pattern in REPORT:
        found = re.search(pattern, done.stdout, re.M)
        if found:
            figures[name] = float(found.group(1))
    threads = re.search(r"^LP_NUM_THREADS (\S+)", done.stdout, re.M)
    figures["threads"] = threads.group(1) if threads else "?"
    return figures


def median(runs, name):
    values = [r[name] for r in runs if name in r]
    return statistics.median(values) if values else None


def show(value, digits=2):
    if value is None:
        return "-"
    return ("%." + str(digits) + "f") % value if digits else "%d" % round(value)


def triple(runs, share):
    return "/".join(show(median(runs, "%s %s" % (share, k)), 0) for k in ("median", "p95", "max"))


def verdict(value, goal):
    if value is None:
        return ""
    return "ok" if value <= goal else "ABOVE"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True)
    parser.add_argument("--before", help="a build of the code to compare with (its runner and art)")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--scenes", default=os.path.join(os.path.dirname(__file__), "scenes"))
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    scenes = [(name[:-len(".script")], read_scene(os.path.join(args.scenes, name)))
              for name in ("start.script", "run.script", "battle.script")]
    work = tempfile.mkdtemp(prefix="timedemo-")
    try:
        variants = [("after", os.path.join(build, "ombrelix-headless"), build)]
        models = os.listdir(os.path.join(build, "data", "model"))
        has_far = any(m.endswith(FAR_MODEL_SUFFIX) for m in models)
        if has_far:
            variants.insert(0, ("near only", os.path.join(build, "ombrelix-headless"),
                                near_only_folder(build, os.path.join(work, "near"))))
        if args.before:
            before = os.path.abspath(args.before)
            variants.insert(0, ("before", os.path.join(before, "ombrelix-headless"), before))

        print("Scenes (bench/scenes/, written by bench/scene_pilot):")
        for name, scene in scenes:
            print("  %-7s %s frames at --dt %s, %d key events" %
                  (name, scene["frames"], scene["dt"], len(scene["events"])))
        print("Variants: " + ", ".join(v[0] for v in variants) + "; %d rounds" % args.rounds)
        print("Each run: ombrelix-headless --frames N --dt X --seed S --script SCENE --report "
              "--mute (F4, F5 first pick the path)")

        results = {}
        for _ in range(args.rounds):
            for name, scene in scenes:
                for path, toggles in PATHS:
                    for variant, runner, folder in variants:
                        figures = run(runner, folder, scene, toggles,
                                      os.path.join(work, "script"))
                        results.setdefault((name, path, variant), []).append(figures)
                if name == "start":
                    runner, folder = variants[-1][1], variants[-1][2]
                    figures = run(runner, folder, scene, [], os.path.join(work, "script"),
                                  WIDE_SIZE)
                    results.setdefault(("start", WIDE_SIZE), []).append(figures)
        threads = {r["threads"] for runs in results.values() for r in runs}
        print("llvmpipe threads: LP_NUM_THREADS=%s" % ",".join(sorted(threads)))

        print()
        print("Goals on the display-list path: median <= %.1fx the floor frame, p95 <= %.1fx, "
              "no allocation by the game in a steady frame." %
              (GOAL_MEDIAN_RATIO, GOAL_P95_RATIO))
        print("Allocations per steady frame as median/p95/max; draws and triangles: model groups "
              "drawn per steady frame (median).")
        row = "%-15s %-10s %7s %7s %7s %6s %10s %10s %14s %14s %6s %9s %8s"
        header = row % (
            "path", "variant", "median", "p95", "p99", "floor", "ratio", "p95 ratio",
            "game", "driver", "draws", "triangles", "compiles")
        failures = []
        for name, scene in scenes:
            print()
            print("== %s: %s frames at --dt %s ==" % (name, scene["frames"], scene["dt"]))
            print(header)
            for path, _ in PATHS:
                for variant, _, _ in variants:
                    runs = results[(name, path, variant)]
                    ratio, p95_ratio = median(runs, "ratio"), median(runs, "p95 ratio")
                    game_max = median(runs, "game max")
                    goals = path == DEFAULT_PATH and variant == "after"
                    ratio_text = show(ratio) + (" " + verdict(ratio, GOAL_MEDIAN_RATIO)
                                                if goals else "")
                    p95_text = show(p95_ratio) + (" " + verdict(p95_ratio, GOAL_P95_RATIO)
                                                  if goals else "")
                    game_text = triple(runs, "game") + (" " + verdict(game_max, GOAL_GAME_ALLOCATIONS)
                                                        if goals else "")
                    print(row % (
                        path, variant, show(median(runs, "median")), show(median(runs, "p95")),
                        show(median(runs, "p99")), show(median(runs, "floor")), ratio_text,
                        p95_text, game_text, triple(runs, "driver"),
                        show(median(runs, "draws"), 0), show(median(runs, "triangles"), 0),
                        show(median(runs, "compiles"), 0)))
                    if goals:
                        for value, goal, what in ((ratio, GOAL_MEDIAN_RATIO, "median ratio"),
                                                  (p95_ratio, GOAL_P95_RATIO, "p95 ratio"),
                                                  (game_max, GOAL_GAME_ALLOCATIONS,
                                                   "game allocations")):
                            if value is None or value > goal:
                                failures.append("%s: %s %s above the goal %s" %
                                                (name, what, show(value), goal))
            print("  (allocation figures leave out the steady frames in which a kind's first "
                  "element was made, its model or texture loaded: %s)" % ", ".join(
                      "%s %s" % (variant, show(median(results[(name, DEFAULT_PATH, variant)],
                                                      "left out"), 0))
                      for variant, _, _ in variants))
            most = max((r.get("effects") or 0) for key, runs in results.items()
                       if key[0] == name for r in runs)
            print("  (smoke puffs and explosions alive at once: at most %d in any run, against "
                  "the cap of %d)" % (most, EFFECTS_CAP))
        print()
        print("== start at %s beside 1024x768 (display lists, each against its own floor) ==" %
              WIDE_SIZE)
        four_thirds = results[("start", DEFAULT_PATH, "after")]
        wide = results[("start", WIDE_SIZE)]
        for size, runs in (("1024x768", four_thirds), (WIDE_SIZE, wide)):
            print("%-10s median %s ms floor %s ms ratio %s" % (
                size, show(median(runs, "median")), show(median(runs, "floor")),
                show(median(runs, "ratio"))))
        narrow_ratio, wide_ratio = median(four_thirds, "ratio"), median(wide, "ratio")
        if narrow_ratio and wide_ratio:
            over = wide_ratio / narrow_ratio
            print("wide ratio / 4:3 ratio %.2f (goal <= %.2f) %s" % (
                over, GOAL_WIDE_OVER_FOUR_THIRDS, verdict(over, GOAL_WIDE_OVER_FOUR_THIRDS)))
            if over > GOAL_WIDE_OVER_FOUR_THIRDS:
                failures.append("start at %s: %.2f times the 4:3 ratio" % (WIDE_SIZE, over))
        print()
        if failures:
            for failure in failures:
                print("goal missed: " + failure)
        else:
            print("Every scene within its goals on the display-list path.")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
