#!/usr/bin/env python3
"""Converts a small plate with every bundled profile and runs each program through LinuxCNC's
interpreter, rs274: no rapid below the surface, the cut as long as the drawing, every arc
ending where the drawing's does (a rapid may leave the material straight up, never run in it).
Exits 77 (skipped) when rs274 is not installed.

usage: check_rs274.py KERFWERK DRAWING WORK_DIR"""
import math
import os
import re
import shutil
import subprocess
import sys

# The drawing (golden/shared/l-plate.dxf): an L-shaped outline with a corner arc, three holes.
LINES = [((0, 0), (100, 0)), ((100, 0), (100, 30)), ((100, 30), (40, 30)), ((40, 30), (40, 70)),
         ((30, 80), (0, 80)), ((0, 80), (0, 0))]
ARCS = [((30, 70), 10, [(40, 70), (30, 80)])]  # centre, radius, ends
CIRCLES = [((20, 15), 5), ((70, 15), 5), ((20, 60), 4)]
LENGTH = sum(math.dist(a, b) for a, b in LINES) + 10 * math.pi / 2 + sum(2 * math.pi * r for _, r in CIRCLES)

# Profile; the controller's start-up code (a feed rate, diameter mode on the lathe); where a
# drawing point lands as (X, Y, Z); whether Z is the height over the work's surface.
PROFILES = [
    ("kerfwerk.ini", "F1000", lambda x, y: (-y, x, 0.0), True),
    ("router.ini", "", lambda x, y: (-y, x, 0.0), True),
    ("lathe.ini", "G7 F100", lambda x, y: (y, 0.0, x), False),
]
CANON = re.compile(r"^\s*\d+ N\S* (\w+)\((.*)\)$")
PLANE_AXES = {"CANON_PLANE_XY": (0, 1), "CANON_PLANE_XZ": (2, 0)}  # first and second axis


def check(name, program, to_machine, surface):
    fails = []
    out = subprocess.run(["rs274", "-n", "0", program], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True)
    lines = out.stdout.split("executing", 1)[-1].splitlines()[1:]
    fails += [f"rs274: {line.strip()}" for line in lines if line.strip() and not CANON.match(line)]
    if not any("PROGRAM_END" in line for line in lines):
        fails.append("the program does not reach its end")
    pos, axes, cut = [0.0, 0.0, 0.0], PLANE_AXES["CANON_PLANE_XY"], 0.0
    for call, args in (CANON.match(line).groups() for line in lines if CANON.match(line)):
        values = [float(v) for v in args.split(",")] if call in ("STRAIGHT_TRAVERSE", "STRAIGHT_FEED", "ARC_FEED") else []
        if call == "SELECT_PLANE":
            axes = PLANE_AXES[args]
        elif call == "STRAIGHT_TRAVERSE":
            # Straight up out of the cut is how a rapid may leave the material.
            if surface and (values[2] < -1e-6 or (pos[2] < -1e-6 and math.dist(pos[:2], values[:2]) > 1e-6)):
                fails.append(f"rapid below the surface from {pos} to {values[:3]}")
            pos = values[:3]
        elif call == "STRAIGHT_FEED":
            cut += math.dist([pos[a] for a in axes], [values[a] for a in axes])
            pos = values[:3]
        elif call == "ARC_FEED":
            start, end, centre = [pos[a] for a in axes], values[0:2], values[2:4]
            r = math.dist(start, centre)
            sweep = (math.atan2(end[1] - centre[1], end[0] - centre[0]) -
                     math.atan2(start[1] - centre[1], start[0] - centre[0])) * (1 if values[4] > 0 else -1)
            sweep %= 2 * math.pi
            cut += r * ((sweep if sweep > 1e-9 else 2 * math.pi) + 2 * math.pi * (abs(values[4]) - 1))
            drawn = [(c, rad, ends) for c, rad, ends in ARCS] + [(c, rad, None) for c, rad in CIRCLES]
            plane = lambda p: [to_machine(*p)[a] for a in axes]
            ok = any(math.dist(plane(c), centre) < 1e-3 and abs(rad - r) < 1e-3 and
                     (math.dist(start, end) < 1e-3 if ends is None else
                      any(math.dist(plane(e), end) < 1e-3 for e in ends)) for c, rad, ends in drawn)
            if not ok:
                fails.append(f"arc from {start} to {end} round {centre} is not one of the drawing's")
            pos[axes[0]], pos[axes[1]] = end
            pos[3 - axes[0] - axes[1]] = values[5]
    if abs(cut - LENGTH) > 1e-3:
        fails.append(f"cut length {cut:.4f} instead of the drawing's {LENGTH:.4f}")
    return [f"{name}: {f}" for f in fails]


def main():
    if shutil.which("rs274") is None:
        print("rs274 is not installed: skipped")
        return 77
    kerfwerk, drawing, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    fails = []
    for profile, startup, to_machine, surface in PROFILES:
        out, program = os.path.join(work, profile + ".nc"), os.path.join(work, profile + ".ngc")
        env = dict(os.environ, KERFWERK_HOME=os.path.join(work, "home-" + profile), QT_QPA_PLATFORM="offscreen")
        subprocess.run([kerfwerk, drawing, out, profile], env=env, check=True)
        with open(out, encoding="ascii") as f:
            text = f.read().replace("\r", "").split("\n", 1)
        with open(program, "w", encoding="ascii") as f:
            f.write(text[0] + "\n" + startup + "\n" + text[1])
        fails += check(profile, program, to_machine, surface)
    print("\n".join(fails) or f"{len(PROFILES)} profiles: drawing length {LENGTH:.4f}, no rapid below the surface")
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
