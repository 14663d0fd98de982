#!/usr/bin/env python3
"""The scale table of `make bench`: what a level's size costs. Levels written by
tools/make-level.py are played by the headless runner (--dt 0.05 --mute, llvmpipe on the game's
own thread with LP_NUM_THREADS=0, so that the CPU time is the whole cost); for each it prints the
load time (CPU seconds of a one-frame run beyond the empty level's), the CPU time of a frame (the
run of FRAMES frames less the one-frame run, per frame after the first) beyond the empty level's,
each per object, and the median CPU time of the frame's passes (update, collisions, world drawing,
instruments) from the runner's report; then the far-model scene: 1,600 rocks on a 70-unit grid, 600 to 1,400
units ahead, all in view, against the empty level, by CPU time and by the report's median. Every figure has its goal beside
it. All levels take turns within each round, so that a busy machine weighs on all alike; the
figures are medians over the rounds.

Usage: scale.py --build BUILD [--rounds N]
"""
import argparse
import math
import os
import re
import resource
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
MAKE_LEVEL = os.path.join(HERE, "..", "tools", "make-level.py")
FRAMES = 160  # the report's steady frames start after the hundredth
LIMIT = 6000  # objects a level may hold
FIGHTER_LIMIT = 2000
# Out of view, the whole frame may grow by at most 2 ms for 20,000 rocks or 5,000 fighters.
OUT_OF_VIEW_GOAL_MS = {"asteroid": 2.0 / 20000, "fighter": 2.0 / 5000}
LOD_GOAL = 6.0  # the far-model scene's median against the empty level's
LOAD_FLAT_GOAL = 1.5  # load per object at the limit against at 1,000
GRID = 70.0
PHASES = [("update", r"median update ([\d.]+) ms"), ("collisions", r" collisions ([\d.]+) ms"),
          ("drawing", r" world drawing ([\d.]+) ms"), ("instruments", r" instruments ([\d.]+) ms")]


def make_level(path, count, kind, where, distance):
    subprocess.run([sys.executable, MAKE_LEVEL, "--count", str(count), "--kind", kind,
                    "--" + where, str(distance), "--output", path], check=True)


def lod_level(path):
    """1,600 rocks on the 70-unit grid inside the view cone (45 degrees high, 4:3), nearest
    layers first from 600 units ahead: they reach about 1,400."""
    tan_y = math.tan(math.radians(22.5)) * 0.9  # a little inside, so every rock shows whole
    tan_x = tan_y * 4.0 / 3.0
    lines = ["<LEVEL>"]
    depth = 600.0
    while len(lines) <= 1600:
        ny = int(depth * tan_y / GRID)
        nx = int(depth * tan_x / GRID)
        for j in range(-ny, ny + 1):
            for i in range(-nx, nx + 1):
                if len(lines) <= 1600:
                    lines.append('<OBJECT type="OBJ3D_ASTEROID" objid="r%d" x="%g" y="%g" z="%g"/>'
                                 % (len(lines), i * GRID, j * GRID, -depth))
        depth += GRID
    lines.append("</LEVEL>")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    return depth - GRID


def play(build, level, frames, report):
    """(CPU seconds, report text) of one run of the runner on the level."""
    command = [os.path.join(build, "ombrelix-headless"), "--dt", "0.05", "--mute", "--seed", "1",
               "--frames", str(frames), "--level", level, "--log", os.devnull]
    if report:
        command.append("--report")
    env = dict(os.environ, LP_NUM_THREADS="0")
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = subprocess.run(command, cwd=build, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if done.returncode != 0:
        return None, done.stderr.strip()
    return cpu, done.stdout


def figure(text, pattern):
    found = re.search(pattern, text, re.M)
    return float(found.group(1)) if found else float("nan")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--rounds", type=int, default=1)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    with tempfile.TemporaryDirectory() as tmp:
        rows = [("empty level", 0, "asteroid", "behind", 500)]
        for count in (1000, 10000, LIMIT):
            rows.append(("%d rocks out of view" % count, count, "asteroid", "behind", 500))
        for count in (1000, FIGHTER_LIMIT):
            rows.append(("%d fighters out of view" % count, count, "fighter", "behind", 1500))
        for count in (100, 400, 1600):
            rows.append(("%d rocks in view" % count, count, "asteroid", "ahead", 600))
        levels = []
        for name, count, kind, where, distance in rows:
            path = os.path.join(tmp, "%s.xml" % name.replace(" ", "-"))
            make_level(path, count, kind, where, distance)
            levels.append((name, count, kind, where, path))
        lod_path = os.path.join(tmp, "far-models.xml")
        farthest = lod_level(lod_path)
        levels.append(("far-model scene", 1600, "asteroid", "ahead", lod_path))

        loads = {name: [] for name, *_ in levels}
        frames = {name: [] for name, *_ in levels}
        reports = {name: [] for name, *_ in levels}
        refused = {}
        for _ in range(args.rounds):
            for name, _count, _kind, _where, path in levels:
                load, text = play(build, path, 1, False)
                if load is None:
                    refused[name] = text
                    continue
                loads[name].append(load)
                # Both with the report, whose floor frame costs the same in each.
                first, text = play(build, path, 1, True)
                cpu, text = play(build, path, FRAMES, True)
                frames[name].append((cpu - first) / (FRAMES - 1) * 1000.0)
                reports[name].append(text)

        def median_of(name, pattern):
            values = [figure(text, pattern) for text in reports[name]]
            return statistics.median(values) if values else float("nan")

        empty_load = statistics.median(loads["empty level"])
        empty_frame = statistics.median(frames["empty level"])
        print("%d frames a run, %d round(s); the empty level loads in %.2f s and draws a frame in "
              "%.2f ms (CPU)" % (FRAMES, args.rounds, empty_load, empty_frame))
        print("%-26s %8s %10s %9s %10s %10s  %s" % ("level", "load s", "load/obj", "CPU ms",
                                                   "extra/obj", "goal/obj",
                                                   "update / collisions / drawing / "
                                                   "instruments ms"))
        per_object_load = {}
        for name, count, kind, where, _path in levels[1:-1]:
            if name in refused:
                print("%-26s refused: %s" % (name, refused[name].split(": ", 1)[-1]))
                continue
            load = statistics.median(loads[name]) - empty_load
            frame = statistics.median(frames[name])
            extra = frame - empty_frame
            per_object_load[(kind, where, count)] = load / count
            goal = ("<= %.2f us" % (OUT_OF_VIEW_GOAL_MS[kind] * 1000.0)
                    if where == "behind" else "none")
            phases = " / ".join("%.2f" % median_of(name, p) for _, p in PHASES)
            print("%-26s %8.2f %8.0f us %9.2f %7.2f us %10s  %s"
                  % (name, load, load / count * 1e6, frame, extra / count * 1000.0, goal, phases))
        small = per_object_load.get(("asteroid", "behind", 1000))
        large = per_object_load.get(("asteroid", "behind", LIMIT))
        if small and large:
            print("load per rock at the limit against at 1,000: %.2fx (goal <= %.1fx)"
                  % (large / small, LOAD_FLAT_GOAL))

        lod = statistics.median(frames["far-model scene"])
        lod_wall = median_of("far-model scene", r"median ([\d.]+) ms")
        empty_wall = median_of("empty level", r"median ([\d.]+) ms")
        draws = median_of("far-model scene", r"model draws per steady frame median (\d+)")
        triangles = median_of("far-model scene", r" triangles median (\d+)")
        print("far-model scene: 1600 rocks 600 to %.0f units ahead, all in view: %.0f model draws "
              "of %.0f triangles a frame; %.2f ms a frame (CPU) against the empty level's %.2f ms: "
              "%.2fx; report medians %.2f ms against %.2f ms: %.2fx (goal <= %.0fx)"
              % (farthest, draws, triangles, lod, empty_frame, lod / empty_frame, lod_wall,
                 empty_wall, lod_wall / empty_wall, LOD_GOAL))
    return 0


if __name__ == "__main__":
    sys.exit(main())
