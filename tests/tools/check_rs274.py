#!/usr/bin/env python3
"""check_rs274.py KERFWERK DRAWING WORK_DIR: converts a small plate with every bundled profile
and runs each program through LinuxCNC's interpreter, rs274: no rapid in the material (one may
leave it straight up), the cut as long as the drawing, every arc one of the drawing's.
Exits 77 (skipped) when rs274 is not installed."""
import math, os, re, shutil, subprocess, sys

# The drawing (golden/shared/l-plate.dxf): an L-shaped outline with a corner arc, three holes.
LINES = [(0, 0), (100, 0), (100, 30), (40, 30), (40, 70), None, (30, 80), (0, 80), (0, 0)]
ARCS = [((30, 70), 10, [(40, 70), (30, 80)]), ((20, 15), 5, None), ((70, 15), 5, None), ((20, 60), 4, None)]
LENGTH = (sum(math.dist(a, b) for a, b in zip(LINES, LINES[1:]) if a and b) + 5 * math.pi +
          sum(2 * math.pi * r for _, r, ends in ARCS if ends is None))
# Profile; the controller's start-up code (a feed rate, the lathe's diameter mode); where a
# drawing point lands as (X, Y, Z); whether Z is the height over the work.
PROFILES = [("kerfwerk.ini", "F1000", lambda x, y: (-y, x, 0.0), True),
            ("router.ini", "", lambda x, y: (-y, x, 0.0), True),
            ("lathe.ini", "G7 F100", lambda x, y: (y, 0.0, x), False)]
CANON = re.compile(r"^\s*\d+ N\S* (\w+)\((.*)\)$")
PLANES = {"CANON_PLANE_XY": (0, 1), "CANON_PLANE_XZ": (2, 0)}  # an arc's first and second axis


def check(program, to_machine, surface):
    run = subprocess.run(["rs274", "-n", "0", program], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True)
    lines = [line for line in run.stdout.split("executing", 1)[-1].splitlines()[1:] if line.strip()]
    fails = [f"rs274: {line.strip()}" for line in lines if not CANON.match(line)]
    fails += [] if any("PROGRAM_END" in line for line in lines) else ["the program does not reach its end"]
    pos, axes, cut = [0.0, 0.0, 0.0], PLANES["CANON_PLANE_XY"], 0.0
    for call, args in (CANON.match(line).groups() for line in lines if CANON.match(line)):
        v = [float(a) for a in args.split(",")] if call.endswith(("_TRAVERSE", "_FEED")) else []
        if call == "SELECT_PLANE":
            axes = PLANES[args]
        elif call == "STRAIGHT_TRAVERSE":
            if surface and (v[2] < -1e-6 or (pos[2] < -1e-6 and math.dist(pos[:2], v[:2]) > 1e-6)):
                fails.append(f"rapid in the material from {pos} to {v[:3]}")
        elif call == "STRAIGHT_FEED":
            cut += math.dist([pos[a] for a in axes], [v[a] for a in axes])
        elif call == "ARC_FEED":
            start, end, centre = [pos[a] for a in axes], v[0:2], v[2:4]
            angle = lambda p: math.atan2(p[1] - centre[1], p[0] - centre[0])
            r, sweep = math.dist(start, centre), ((angle(end) - angle(start)) * math.copysign(1, v[4])) % (2 * math.pi)
            cut += r * ((sweep if sweep > 1e-9 else 2 * math.pi) + 2 * math.pi * (abs(v[4]) - 1))
            plane = lambda p: [to_machine(*p)[a] for a in axes]
            if not any(math.dist(plane(c), centre) < 1e-3 and abs(radius - r) < 1e-3 and
                       (math.dist(start, end) < 1e-3 if ends is None else
                        any(math.dist(plane(e), end) < 1e-3 for e in ends)) for c, radius, ends in ARCS):
                fails.append(f"arc from {start} to {end} round {centre} is not one of the drawing's")
            v = list(pos)
            v[axes[0]], v[axes[1]], v[3 - sum(axes)] = end[0], end[1], float(args.split(",")[5])
        if v:
            pos = v[:3]
    if abs(cut - LENGTH) > 1e-3:
        fails.append(f"cut length {cut:.4f} instead of the drawing's {LENGTH:.4f}")
    return fails


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
            first, rest = f.read().replace("\r", "").split("\n", 1)
        with open(program, "w", encoding="ascii") as f:
            f.write(first + "\n" + startup + "\n" + rest)  # after the opening "%"
        fails += [f"{profile}: {fail}" for fail in check(program, to_machine, surface)]
    print("\n".join(fails) or f"{len(PROFILES)} profiles cut the drawing's {LENGTH:.4f}")
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
