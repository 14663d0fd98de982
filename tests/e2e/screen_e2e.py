#!/usr/bin/env python3
"""End-to-end story of the game on screens of every shape, judged by the picture: from 5:4 to
32:9 and from 1024 x 768 to 4K the radar scopes stay round, the radar dots stay inside their
scopes' bezels, the energy bar fills its slot and lettering keeps its proportions. (Where the
messages go on each shape is DrawFrameTest's.) On a 4:3 window the cockpit is drawn exactly as the
stretched drawing of the screen it was made for, on every drawing path.

Usage: screen_e2e.py RUNNER BUILD_DIR CASE
"""
import math
import os
import sys
import tempfile

import runner_e2e as game
from runner_e2e import check

SIZES = [(1024, 768), (1280, 1024), (1280, 720), (1920, 1080), (2560, 1080), (3840, 2160)]
UNIT = 2 * math.tan(math.radians(22.5))  # eye-plane units the window height spans at z = -1
# Knackers far out along every axis: each shows as a red dot on the rim of a scope, or its centre.
FAR = 5000
COMPASS = "\n".join('<OBJECT type="OBJ3D_KNACKER" objid="k%d" x="%d" y="%d" z="%d"/>' % (i, x, y, z)
                    for i, (x, y, z) in enumerate([(FAR, 0, 0), (-FAR, 0, 0), (0, FAR, 0),
                                                   (0, -FAR, 0), (0, 0, FAR), (0, 0, -FAR)]))
# A knacker on the ship: 40 a frame off its 300, so the seventh frame shows 60 (a red bar).
RAMMED = '<OBJECT type="OBJ3D_KNACKER" objid="k" x="0" y="0" z="0"/>'
# The target on the ship: it breaks at the third contact and the level ends.
TARGET = ('<OBJECT type="OBJ3D_ASTEROID" objid="goal" x="0" y="0" z="0">'
          '<TRIGGER cause="death" event="endlevel"/></OBJECT>')


def shot(folder, objects, frames, size, plain=None, script=""):
    with game.run_folder(objects) as tmp:
        args = ["--size", "%dx%d" % size, "--log", os.devnull]
        args += ["--plain-drawing", plain] if plain else []
        played = game.run(script, frames, args, cwd=tmp)
    check(played.returncode == 0 and played.picture is not None,
          "%s: the run failed: %s" % (size, played.log[-300:]))
    return played.picture


def region(p, x0, y0, x1, y1, test):
    """Pixels (x, y) in the box, rows from the bottom, that pass the test."""
    x0, y0 = max(int(x0), 0), max(int(y0), 0)
    x1, y1 = min(int(x1), p.width), min(int(y1), p.height)
    return [(x, y) for y in range(y0, y1) for x in range(x0, x1) if test(p.pixel(x, y))]


def bounds(points):
    xs, ys = [x for x, _ in points], [y for _, y in points]
    return min(xs), min(ys), max(xs), max(ys)


def is_scope_face(c):
    return c[1] > c[0] + 4 and c[1] > c[2] + 2 and c[1] < 130 and c[0] < 40


def is_pure_red(c):  # a knacker's radar dot, and the energy bar below 40 %
    return c[0] >= 250 and c[1] <= 5 and c[2] <= 5


def is_pure_green(c):  # the energy bar (the dashboard's lights are never this pure)
    return c[1] >= 250 and c[0] <= 5 and c[2] <= 5


def is_slot(c):  # the recess, darker than its shadowed walls
    return max(c) < 14


def is_label_paint(c):
    return c[1] > 130 and c[0] > 90 and c[2] > 110 and c[1] > c[0] + 15


def scopes(p):
    """Each scope's face: centre, half width, half height, and the red dots on it."""
    w, h = p.width, p.height
    found = []
    for side in (-1, 1):
        x0, x1 = (w / 2 + 0.15 * h, w) if side > 0 else (0, w / 2 - 0.15 * h)
        face = region(p, x0, 0, x1, 0.25 * h, is_scope_face)
        check(face, "%dx%d: no scope face found" % (w, h))
        left, bottom, right, top = bounds(face)
        centre = ((left + right) / 2, (bottom + top) / 2)
        dots = region(p, x0, 0, x1, 0.3 * h, is_pure_red)
        found.append((centre, (right - left + 1) / 2, (top - bottom + 1) / 2, dots))
    return found


def energy(p, is_bar):
    """The bar's box and the slot's edges along its middle row."""
    w, h = p.width, p.height
    bar = region(p, w / 2 - 0.25 * h, 0, w / 2 + 0.25 * h, 0.2 * h, is_bar)
    check(bar, "%dx%d: no energy bar" % (w, h))
    left, bottom, right, top = bounds(bar)
    row = (bottom + top) // 2
    slot_left, slot_right = left, right
    while slot_left > 0 and is_slot(p.pixel(slot_left - 1, row)):
        slot_left -= 1
    while slot_right < w - 1 and is_slot(p.pixel(slot_right + 1, row)):
        slot_right += 1
    return (left, bottom, right, top), (slot_left, slot_right)


def measure(folder, size, plain=None):
    """What a player sees of the cockpit on a screen of this size, in numbers."""
    h = size[1]
    seen = {}
    full = shot(folder, COMPASS, 3, size, plain)
    faces = scopes(full)
    seen["round"] = max(abs(hw / hh - 1) for _, hw, hh, _ in faces)
    # The bezel's outer edge lies 66/56 of the face's radius out.
    seen["dots out"] = sum(1 for centre, hw, hh, dots in faces for x, y in dots
                           if math.hypot(x - centre[0], y - centre[1]) > max(hw, hh) * 66 / 56)
    seen["dots"] = sum(len(dots) for *_, dots in faces)
    (left, _, right, _), (slot_left, slot_right) = energy(full, is_pure_green)
    seen["bar inside"] = slot_left < left and right < slot_right
    seen["bar fills"] = (right - left + 1) / (slot_right - slot_left + 1)
    label = region(full, slot_left, 0.1 * h, slot_right, 0.2 * h, is_label_paint)
    check(label, "%dx%d: no ENERGY label" % size)
    lx0, ly0, lx1, ly1 = bounds(label)
    # Smeared lettering grows in width alone; its height is the window's share either way.
    seen["label width"] = (lx1 - lx0 + 1) / h

    low = shot(folder, RAMMED, 7, size, plain)
    (left, _, right, _), (slot_left, slot_right) = energy(low, is_pure_red)
    seen["red bar inside"] = slot_left < left and right < slot_right
    seen["red bar starts"] = (left - slot_left) / h
    return seen


def case_shapes():
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        reference = measure(folder, SIZES[0])
        for size in SIZES:
            seen = reference if size == SIZES[0] else measure(folder, size)
            print("%dx%d: %s" % (size + (", ".join("%s %s" % item for item in seen.items()),)))
            problems = [
                ("the scopes are not round", seen["round"] > 0.02),
                ("radar dots outside their bezels", seen["dots out"] > 0),
                ("no radar dots", seen["dots"] == 0),
                ("the bar leaves its slot", not seen["bar inside"] or not seen["red bar inside"]),
                ("the full bar does not fill its slot", seen["bar fills"] < 0.95),
                ("the red bar does not start at the slot", seen["red bar starts"] > 0.006),
                ("ENERGY is out of shape",
                 abs(seen["label width"] / reference["label width"] - 1) > 0.06),
            ]
            failures += ["%dx%d: %s" % (size + (what,)) for what, bad in problems if bad]
        # The stretched drawing of old, on a wide screen: the story must see what is wrong.
        stretched = measure(folder, (1920, 1080), plain="aspect")
        check(stretched["round"] > 0.2 and stretched["bar fills"] < 0.9 and
              stretched["label width"] / reference["label width"] > 1.2,
              "the stretched drawing passes for right: %s" % stretched)
    check(not failures, "\n".join(failures))


# One scene per drawing path, with and without the other shortcuts: the box drawing and the
# stretched one give the same bytes on a 4:3 window.
PATHS = {"display lists": "", "immediate mode": "0 down F4\n1 up F4\n",
         "vertex arrays": "0 down F4\n1 up F4\n2 down F5\n3 up F5\n"}
ALL_BUT_ASPECT = "dust,culling,text,cockpit,lists,wires,effects,overlay,radar"


def case_four_thirds():
    with tempfile.TemporaryDirectory() as folder:
        for name, toggles in PATHS.items():
            for objects, frames in ((COMPASS + "\n" + TARGET, 12), (None, 40)):
                for plain, stretched in (("none", "aspect"), (ALL_BUT_ASPECT, "all")):
                    script = toggles + "4 down I\n20 down S\n26 up S\n30 down U\n31 up U\n"
                    if objects is None:  # the shipped level
                        pictures = [game.run(script, frames, ["--plain-drawing", p,
                                                              "--log", os.devnull]).picture
                                    for p in (plain, stretched)]
                    else:
                        pictures = [shot(folder, objects, frames, (1024, 768), p, script)
                                    for p in (plain, stretched)]
                    check(pictures[0].rgb == pictures[1].rgb,
                          "%s, %s: the 4:3 frame differs from the stretched drawing's"
                          % (name, plain))


if __name__ == "__main__":
    sys.exit(game.main(globals()))
