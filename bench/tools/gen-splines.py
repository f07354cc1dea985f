#!/usr/bin/python3
"""gen-splines.py OUT.dxf [--entities N]: writes a sheet of N SPLINE entities with ezdxf (R2000),
each a path of its own on a 20 mm grid, in turn: open cubic curves of four control points (the
Bezier segments an SVG path exports as), open cubic curves of five to eight control points,
closed periodic curves, rational quarter circles and straight splines. Prints the
counts for spline-speed.sh to check the conversion against:
  splines N paths N arcs A lines L
(A: the rational quarter circles, which convert to one arc each; L: the straight splines, one
straight move each)."""
import argparse
import math

import ezdxf
from ezdxf import math as ezmath


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--entities", type=int, default=10000)
    args = parser.parse_args()
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    side = math.ceil(math.sqrt(args.entities))
    arcs = lines = 0
    for i in range(args.entities):
        x, y = (i % side) * 20.0, (i // side) * 20.0
        kind = i % 5
        if kind == 4:
            bend = 2 + i % 3
            msp.add_open_spline([(x, y), (x + 4, y + bend), (x + 8, y - bend), (x + 12, y)], degree=3)
        elif kind == 0:
            n = 5 + (i // 5) % 4
            points = [(x + 12 * k / (n - 1), y + 4 * math.sin(k * 1.3 + i)) for k in range(n)]
            msp.add_open_spline(points, degree=3)
        elif kind == 1:
            points = [(x + 6 + 5 * math.cos(a), y + 6 + 4 * math.sin(a)) for a in (0, 1.4, 2.9, 4.1, 5.3)]
            spline = msp.add_spline()
            spline.apply_construction_tool(ezmath.closed_uniform_bspline(points))
            spline.closed = True
        elif kind == 2:
            msp.add_spline().apply_construction_tool(ezmath.rational_bspline_from_arc((x, y), 8, 0, 90))
            arcs += 1
        else:
            msp.add_open_spline([(x, y), (x + 4, y + 4), (x + 12, y + 12)], degree=2)
            lines += 1
    doc.saveas(args.out)
    print(f"splines {args.entities} paths {args.entities} arcs {arcs} lines {lines}")


if __name__ == "__main__":
    main()
