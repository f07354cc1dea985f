#!/usr/bin/python3
"""Converts drawings as a CAD program or Inkscape writes them (splines, nested, scaled, turned and
mirrored block references, MINSERT grids) and checks each program against ezdxf's reading of
the same drawing: the plotted cut length, the extents and the number of paths.

Usage: check_drawings.py KERFWERK DRAWINGS_FOLDER PROFILE [--lengths]"""
import math
import os
import re
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf import math as ezmath


def blocks_drawing(name):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    slot = doc.blocks.new("SLOT", base_point=(5, 0))
    slot.add_lwpolyline([(0, 0, 0, 0, 1), (10, 0, 0, 0, 1)], format="xyseb", close=True)
    hole = doc.blocks.new("HOLE")
    hole.add_circle((0, 0), 2.5)
    part = doc.blocks.new("PART", base_point=(0, 0))
    part.add_lwpolyline([(0, 0), (40, 0), (40, 20, 0, 0, 0.4), (0, 20)], format="xyseb", close=True)
    part.add_blockref("HOLE", (8, 10))
    part.add_blockref("SLOT", (25, 10), dxfattribs={"rotation": 90})
    part.add_arc((20, 10), 4, 200, 340)
    part.add_text("PART", dxfattribs={"layer": "MARK"})
    msp.add_blockref("PART", (0, 0))
    msp.add_blockref("PART", (100, 0), dxfattribs={"xscale": -1, "rotation": 15})
    msp.add_blockref("PART", (0, 60), dxfattribs={"xscale": 1.5, "yscale": 1.5, "rotation": -30})
    msp.add_blockref("PART", (120, 60), dxfattribs={"xscale": 2, "yscale": 0.5})
    grid = msp.add_blockref("HOLE", (0, -30))
    grid.grid(size=(2, 3), spacing=(8, 10))
    doc.saveas(name)


def splines_drawing(name):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_open_spline([(0, 0), (10, 15), (25, -5), (40, 10), (50, 0)], degree=3)
    msp.add_open_spline([(0, 30), (5, 30), (20, 30)], degree=2).dxf.layer = "A,B"
    closed = msp.add_spline()
    closed.apply_construction_tool(ezmath.closed_uniform_bspline([(60, 0), (80, 5), (85, 25), (65, 30), (55, 15)]))
    closed.closed = True
    msp.add_spline().apply_construction_tool(ezmath.rational_bspline_from_arc((0, 60), 10, 270, 360))
    msp.add_spline().apply_construction_tool(ezmath.rational_bspline_from_arc((0, 90), 10, 0, 360))
    msp.add_rational_spline([(30, 50), (30, 60), (40, 60), (50, 60), (50, 50)], [1, 0.5, 2, 0.5, 1], degree=3)
    fit = msp.add_spline(fit_points=[(60, 50), (65, 56), (70, 58), (80, 52), (85, 54), (90, 60)])
    fit.dxf.layer = "FIT"
    doc.saveas(name)


# (drawing, made here by, layer box, paths of the program, length tolerance, CAD flavour). A curve
# through fit points is not defined by them alone: ours and ezdxf's end tangents differ a little.
CASES = [
    ("inkscape-plate.dxf", None, "*", 5, 0.002, None),
    ("inkscape-plate.dxf", None, "CUT,HOLES", 5, 0.002, None),
    ("inkscape-plate.dxf", None, "HOLES", 2, 0.002, None),
    ("inkscape-bracket.dxf", None, "CUT", 3, 0.002, None),
    ("blocks.dxf", blocks_drawing, "*", 22, 0.002, None),
    ("splines.dxf", splines_drawing, "0", 5, 0.002, None),
    ("splines.dxf", splines_drawing, "A,B", 1, 0.002, None),
    ("splines.dxf", splines_drawing, "FIT,0", 6, 0.5, None),
    ("blocks.dxf", blocks_drawing, "*", 22, 0.002, "Ashlar"),
    ("splines.dxf", splines_drawing, "*", 7, 0.5, "Autosketch"),
    ("blocks.dxf", blocks_drawing, "*", 22, 0.002, "Corel"),
]


def padded(drawing, flavour, out):
    """The drawing with its group codes as the flavour writes them: four wide (Corel Draw keeps
    the 0 and 8 codes three wide), or without blanks."""
    with open(drawing, encoding="latin-1") as f:
        lines = f.read().splitlines()
    for i in range(0, len(lines) - 1, 2):
        code = lines[i].strip()
        width = 0 if flavour == "Autosketch" else 3 if flavour == "Corel" and code in ("0", "8") else 4
        lines[i] = code.rjust(width)
    with open(out, "w", encoding="latin-1", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def selected(layer, box):
    """The layer box: "*", one name (which may hold a comma), or a list of names."""
    return box == "*" or layer == box or layer in [n.strip() for n in box.split(",")]


def placed(entities, layer):
    """The drawing's entities with every block reference expanded; an entity on layer "0" of a
    block takes the layer of its reference."""
    for e in entities:
        own = e.dxf.layer if e.dxf.layer != "0" else layer
        if e.dxftype() == "INSERT":
            for copy in e.multi_insert():
                yield from placed(copy.virtual_entities(), own)
        else:
            yield e, own


def measure(drawing, box):
    """The length of what the layer box selects, and the extents of it and the origin (where
    the plot starts)."""
    doc = ezdxf.readfile(drawing)
    length, xs, ys = 0.0, [0.0], [0.0]
    for e, layer in placed(doc.modelspace(), "0"):
        if not selected(layer, box):
            continue
        kind = e.dxftype()
        if kind == "LWPOLYLINE":
            parts = list(e.virtual_entities())
        elif kind in ("LINE", "ARC", "CIRCLE", "SPLINE", "ELLIPSE"):
            parts = [e]
        else:
            continue
        for part in parts:
            if part.dxftype() == "LINE":
                points = [part.dxf.start, part.dxf.end]
            else:
                points = list(part.flattening(1e-5))
            if part.dxftype() in ("ARC", "CIRCLE"):
                sweep = 360 if part.dxftype() == "CIRCLE" else (part.dxf.end_angle - part.dxf.start_angle) % 360
                length += part.dxf.radius * math.radians(sweep)
            else:
                length += sum(p.distance(q) for p, q in zip(points, points[1:]))
            xs += [p.x for p in points]
            ys += [p.y for p in points]
    return length, max(ys) - min(ys), max(xs) - min(xs)


def convert(kerfwerk, profile, drawing, box, flavour, work):
    ini = os.path.join(work, "check.ini")
    with open(profile, encoding="latin-1") as f:
        text = f.read()
    with open(ini, "w", encoding="latin-1") as f:
        text = re.sub(r"(?m)^Layer=.*$", "Layer=" + box, text, count=1)
        f.write(re.sub(r"(?m)^%s=0$" % flavour, flavour + "=1", text, count=1) if flavour else text)
    env = dict(os.environ, KERFWERK_HOME=work)
    out = os.path.join(work, "out.nc")
    subprocess.run([kerfwerk, drawing, out, ini], env=env, check=True, capture_output=True)
    report = subprocess.run([kerfwerk, "--report", drawing, "--profile", ini], env=env, check=True,
                            capture_output=True, text=True).stdout
    cut = float(re.search(r"Cut (\S+)", report).group(1))
    extents = [float(v) for v in re.findall(r"Max (\S+)", report)]
    with open(out, encoding="latin-1") as f:
        paths = sum(1 for line in f if line.strip() == "M07")
    return cut, extents, paths


def main():
    kerfwerk, folder, profile = sys.argv[1:4]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for name, maker, box, paths, tolerance, flavour in CASES:
            drawing = os.path.join(folder, name)
            if maker:
                drawing = os.path.join(work, name)
                maker(drawing)
            theirs, height, width = measure(drawing, box)
            if flavour:
                padded(drawing, flavour, os.path.join(work, "padded.dxf"))
                drawing = os.path.join(work, "padded.dxf")
            cut, extents, ours = convert(kerfwerk, profile, drawing, box, flavour, work)
            # Four decimals: chords within 0.0001 of the curve, points rounded to 0.00005.
            faults = []
            if abs(cut - theirs) > tolerance + 1e-6 * theirs:
                faults.append(f"cut {cut:.4f}, ezdxf {theirs:.4f}")
            # The plot follows an arc by chords of its own, so its extents fall a little short.
            if any(abs(a - b) > 0.06 + 0.02 * b for a, b in zip(extents, (height, width))):
                faults.append(f"extents {extents}, ezdxf {height:.4f} {width:.4f}")
            if ours != paths:
                faults.append(f"{ours} paths, {paths} wanted")
            print(f"{name} [{box}] {flavour or ''}: ours {cut:.4f}, ezdxf {theirs:.4f}" + ("  FAILED: " + "; ".join(faults) if faults else ""))
            failures += bool(faults)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
