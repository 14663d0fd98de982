#!/usr/bin/env python3
"""A level maker's tool: writes a level of many objects laid out on a cubic grid, for trying how
big fields play. The grid starts DISTANCE ahead of the ship's start (along -z, where the ship
looks) or behind it (+z), centred on the flight line; kinds given as a list take turns.

  make-level.py --count 20000 --kind asteroid --behind 500 > rocks.xml
  make-level.py --count 5000 --kind fighter --behind 1500 > fighters.xml
  make-level.py --count 300 --kind laserprojectile --spacing 0 --ahead 800 > crowd.xml

--spacing 0 puts every object at one point."""

import argparse
import math
import sys

KINDS = {"asteroid": "OBJ3D_ASTEROID", "fighter": "OBJ3D_FIGHTER", "bonus": "OBJ3D_BONUS",
         "knacker": "OBJ3D_KNACKER", "laserprojectile": "OBJ3D_LASERPROJECTILE",
         "shield": "OBJ3D_SHIELD", "outerspace": "OBJ3D_OUTERSPACE"}


def level(count, kinds, spacing, distance, ahead):
    side = max(1, math.ceil(round(count ** (1.0 / 3.0), 9)))
    half = (side - 1) * spacing / 2.0
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- %d objects (%s) on a grid of %g units, %g %s the start; made by "
             "tools/make-level.py -->" % (count, ", ".join(kinds), spacing, distance,
                                          "ahead of" if ahead else "behind"),
             "<LEVEL>"]
    for i in range(count):
        x = (i % side) * spacing - half
        y = (i // side % side) * spacing - half
        depth = distance + (i // (side * side)) * spacing
        z = -depth if ahead else depth
        kind = kinds[i % len(kinds)]
        lines.append('  <OBJECT type="%s" objid="%s%d" x="%g" y="%g" z="%g"/>'
                     % (KINDS[kind], kind, i + 1, x, y, z))
    lines.append("</LEVEL>")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--count", type=int, required=True, help="objects in the level")
    parser.add_argument("--kind", default="asteroid",
                        help="kind, or kinds separated by commas taking turns: "
                        + ", ".join(sorted(KINDS)))
    parser.add_argument("--spacing", type=float, default=70.0,
                        help="world units between grid neighbours (70)")
    where = parser.add_mutually_exclusive_group(required=True)
    where.add_argument("--ahead", type=float, metavar="DISTANCE",
                       help="the grid's near face this far ahead of the start")
    where.add_argument("--behind", type=float, metavar="DISTANCE",
                       help="the grid's near face this far behind the start")
    parser.add_argument("--output", help="file to write (standard output without)")
    args = parser.parse_args()
    kinds = args.kind.split(",")
    unknown = [k for k in kinds if k not in KINDS]
    if unknown or args.count < 0:
        parser.error("unknown kind %s" % ", ".join(unknown) if unknown else "negative count")
    ahead = args.ahead is not None
    text = level(args.count, kinds, args.spacing, args.ahead if ahead else args.behind, ahead)
    if args.output:
        with open(args.output, "w", encoding="utf-8") as out:
            out.write(text)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
