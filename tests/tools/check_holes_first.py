#!/usr/bin/python3
"""check_holes_first.py KERFWERK PROFILE WORK_DIR

Converts a generated sheet of nested plates with "Holes first, short rapids" off and on, reads
the written programs back and checks that every closed path lying inside another is cut before
it, and that the rapids of the ordered program are at most 0.55 of the default order's."""
import os, re, subprocess, sys

exe, profile, work = sys.argv[1:4]
here = os.path.dirname(os.path.abspath(__file__))
os.makedirs(work, exist_ok=True)
sheet = os.path.join(work, "sheet.dxf")
subprocess.run([sys.executable, os.path.join(here, "../../bench/tools/gen-sheet.py"), sheet, "--entities", "3000",
                "--version", "R12", "--writer", "text"], check=True, stdout=subprocess.DEVNULL)
profiles = {}
text = open(profile, "rb").read()
for on in (0, 1):
    profiles[on] = os.path.join(work, f"holes{on}.ini")
    open(profiles[on], "wb").write(text.replace(b"HolesFirst=0", b"HolesFirst=%d" % on))


def run(*args):
    env = dict(os.environ, KERFWERK_HOME=os.path.join(work, "home"))
    return subprocess.run([exe, *args], env=env, check=True, capture_output=True, text=True).stdout


def paths(program):
    """The cut paths (between M07 and M08) as boxes round their points, in program order."""
    boxes, points = [], None
    for line in open(program):
        if line.startswith("M07"):
            points = []
        elif line.startswith("M08") and points:
            xs, ys = [p[0] for p in points], [p[1] for p in points]
            boxes.append((min(xs), min(ys), max(xs), max(ys)))
            points = None
        elif points is not None:
            x, y = re.search(r"X(-?[\d.]+)", line), re.search(r"Y(-?[\d.]+)", line)
            if x and y:
                points.append((float(x.group(1)), float(y.group(1))))
    return boxes


rapid = {}
for on in (0, 1):
    out = os.path.join(work, f"sheet{on}.nc")
    run(sheet, out, profiles[on])
    rapid[on] = float(re.search(r"Rapid ([\d.]+)", run("--report", out, "--profile", profiles[on])).group(1))
boxes = paths(os.path.join(work, "sheet1.nc"))
inside = lambda a, b: a != b and b[0] < a[0] and b[1] < a[1] and a[2] < b[2] and a[3] < b[3]
late = [(i, j) for j, outer in enumerate(boxes) for i, hole in enumerate(boxes) if i > j and inside(hole, outer)]
holes = sum(1 for j, outer in enumerate(boxes) for hole in boxes if inside(hole, outer))
ratio = rapid[1] / rapid[0]
print(f"{len(boxes)} paths, {holes} holes in outlines, {len(late)} cut after their outline; "
      f"rapids {rapid[1]:.1f} against {rapid[0]:.1f} in the default order: {ratio:.3f}")
sys.exit(0 if holes > 1000 and not late and ratio <= 0.55 else 1)
