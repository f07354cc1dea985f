# Reads DXF files written by kerfwerk back with ezdxf, an independent DXF library.
#
#   dxf_readback.py along FULL LINES [FULL LINES...]
#     For each pair (the full form and the lines-only form of one program): the audit result
#     and every entity of the full form, and for every arc and circle whether it runs along
#     the chords of the lines-only form, that is along the path the plot drew.
#   dxf_readback.py forms FILE...
#     For each file: the audit result, the kinds of its entities, for straight lines whether
#     each starts where the one before it ended and where the chain begins and ends, and
#     every point.
import math
import sys

import ezdxf


def fmt(v):
    r = round(v, 3)
    return "%.3f" % (0.0 if r == 0 else r)


def pt(p):
    return "(" + fmt(p[0]) + "," + fmt(p[1]) + ")"


def dist(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = dx * dx + dy * dy
    t = 0.0 if n == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / n))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def along(full, chord_file):
    print("== " + full)
    doc = ezdxf.readfile(full)
    print("audit errors", len(doc.audit().errors))
    chords = [(e.dxf.start, e.dxf.end) for e in ezdxf.readfile(chord_file).modelspace().query("LINE")]

    def on_chords(points):
        worst = max(min(dist(p, a, b) for a, b in chords) for p in points)
        return " along" if worst < 0.01 else " OFF by " + fmt(worst)

    for e in doc.modelspace():
        kind = e.dxftype()
        if kind == "LINE":
            print("LINE", pt(e.dxf.start), pt(e.dxf.end))
        elif kind == "ARC":
            s, m, n = e.vertices(list(e.angles(3)))
            print("ARC", pt(e.dxf.center), fmt(e.dxf.radius), pt(s), "via", pt(m), "to",
                  pt(n) + on_chords(list(e.vertices(list(e.angles(41))))))
        elif kind == "CIRCLE":
            print("CIRCLE", pt(e.dxf.center), fmt(e.dxf.radius) + on_chords(list(e.vertices(range(0, 360, 9)))))
        else:
            print(kind)


def forms(name):
    doc = ezdxf.readfile(name)
    print("audit errors", len(doc.audit().errors))
    entities = list(doc.modelspace())
    print("kinds", " ".join(sorted(set(e.dxftype() for e in entities))))
    lines = [e for e in entities if e.dxftype() == "LINE"]
    if lines:
        gaps = sum(1 for a, b in zip(lines, lines[1:]) if pt(a.dxf.end) != pt(b.dxf.start))
        print("gaps", gaps, "from", pt(lines[0].dxf.start), "to", pt(lines[-1].dxf.end))
    for e in entities:
        if e.dxftype() == "POINT":
            print("POINT", pt(e.dxf.location))


if sys.argv[1] == "along":
    for pair in zip(sys.argv[2::2], sys.argv[3::2]):
        along(*pair)
else:
    for name in sys.argv[2:]:
        forms(name)
