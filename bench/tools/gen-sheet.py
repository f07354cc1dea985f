#!/usr/bin/python3
"""gen-sheet.py OUT.dxf [--entities N] [--version R12|R2000] [--seed S] [--writer ezdxf|text]

Writes the benchmark drawing of dxf-speed.sh: a sheet of nested plates, N entities in all.

Every plate is a closed outline with holes and slots inside it, and no two contours touch
(the plates stand in cells 60 x 40 apart, every hole keeps clear of the outline and of the other
holes), so a conversion has to chain every contour into a path of its own:
  outline  a rounded rectangle, either four LINEs and four corner ARCs (lines drawn either
           way round) or one closed polyline whose corner segments are bulges, drawn clockwise
           or counter-clockwise
  holes    four mounting CIRCLEs in the corners and two on the short sides
  slots    one or two obround slots: two LINEs and two half-circle ARCs, or a closed
           polyline of four vertices with two half-circle bulges
  centre   two CIRCLEs, or (one plate in 16) an ELLIPSE
With `--ellipse-share K` (R2000) a mounting or side hole is an ELLIPSE instead of its CIRCLE
whenever fewer than one entity in K so far is an ellipse; every other one of those is a part
of an ellipse (half a turn, an open path of its own), so about one entity in K is an ELLIPSE,
full and partial.
The entities of one plate are written in a shuffled order, so the path ordering has to look
for the next piece of every contour. Plates that would go past N are replaced by single
circles in cells of their own, so the drawing holds exactly N entities.

R2000 drawings use LWPOLYLINE and ELLIPSE. R12 knows neither: its polylines are POLYLINE /
VERTEX / SEQEND, and an ellipse is written as a closed POLYLINE of 64 straight segments, as
R12 exports do.

The default writer is the ezdxf library (python3-ezdxf); `--writer text` writes the same
entities as plain group codes, for machines where ezdxf is too slow (validate such a file
with `--audit`). `--audit FILE` loads FILE with ezdxf, runs its audit and exits 1 on errors.

Prints one line of counts for dxf-speed.sh to check the conversion against:
  entities N contours C lines L arcs A circles C polylines P ellipses E vertices V straight S arcmoves M
where `vertices` counts the polyline vertices (the ellipse polylines of R12 included),
`straight` the straight segments (LINEs, straight polyline segments, the ellipse polylines of
R12; not the ELLIPSEs of R2000, whose segments depend on the converter) and `arcmoves` the arc
segments (ARCs, bulges and circles, each a single arc move).
"""
import argparse
import math
import random
import sys

CELL_W, CELL_H = 60.0, 40.0
ELLIPSE_EVERY = 16
R12_ELLIPSE_SEGMENTS = 64
CORNER_BULGE = math.tan(math.radians(90) / 4)  # a quarter circle


def r4(value):
    return round(value, 4)


class Sheet:
    """The entities of the drawing as plain tuples, with the counts the checks need."""

    def __init__(self, version):
        self.version = version
        self.entities = []
        self.counts = dict(entities=0, contours=0, lines=0, arcs=0, circles=0, polylines=0,
                           ellipses=0, vertices=0, straight=0, arcmoves=0)

    def count(self, **kinds):
        for key, value in kinds.items():
            self.counts[key] += value

    def line(self, layer, p, q):
        self.entities.append(("LINE", layer, (r4(p[0]), r4(p[1])), (r4(q[0]), r4(q[1]))))
        self.count(entities=1, lines=1, straight=1)

    def arc(self, layer, centre, radius, start, end):
        self.entities.append(("ARC", layer, (r4(centre[0]), r4(centre[1])), r4(radius), start, end))
        self.count(entities=1, arcs=1, arcmoves=1)

    def circle(self, layer, centre, radius):
        self.entities.append(("CIRCLE", layer, (r4(centre[0]), r4(centre[1])), r4(radius)))
        self.count(entities=1, circles=1, arcmoves=1, contours=1)

    def polyline(self, layer, vertices):
        """A closed polyline; vertices are (x, y, bulge of the segment that leaves the vertex)."""
        self.entities.append(("POLY", layer, [(r4(x), r4(y), b) for x, y, b in vertices]))
        bulges = sum(1 for v in vertices if v[2] != 0)
        self.count(entities=1, polylines=1, contours=1, vertices=len(vertices), arcmoves=bulges,
                   straight=len(vertices) - bulges)

    def ellipse(self, layer, centre, major, ratio, start=0.0, end=2 * math.pi):
        self.count(entities=1, ellipses=1, contours=1)
        if self.version == "R2000":
            self.entities.append(("ELLIPSE", layer, (r4(centre[0]), r4(centre[1])),
                                  (r4(major[0]), r4(major[1])), ratio, start, end))
            return
        # R12 has no ELLIPSE: a closed polyline through points of the ellipse.
        length = math.hypot(*major)
        ux, uy = major[0] / length, major[1] / length
        points = []
        for i in range(R12_ELLIPSE_SEGMENTS):
            t = 2 * math.pi * i / R12_ELLIPSE_SEGMENTS
            a, b = length * math.cos(t), length * ratio * math.sin(t)
            points.append((centre[0] + a * ux - b * uy, centre[1] + a * uy + b * ux, 0))
        self.entities.append(("POLY", layer, [(r4(x), r4(y), 0) for x, y, _ in points]))
        self.count(straight=R12_ELLIPSE_SEGMENTS, vertices=R12_ELLIPSE_SEGMENTS)


def obround(x0, x1, y, radius):
    """A horizontal slot from x0 to x1 (centres of its ends), counter-clockwise from its bottom left."""
    return [(x0, y - radius, 0), (x1, y - radius, 1.0), (x1, y + radius, 0), (x0, y + radius, 1.0)]


def reversed_polyline(vertices):
    """The same closed polyline drawn the other way round: vertices in reverse, bulges negated
    and moved to the vertex that now starts their segment."""
    n = len(vertices)
    out = []
    for i in range(n):
        v = vertices[(n - i) % n]
        leaving = vertices[(n - i - 1) % n][2]  # the segment from v to the vertex before it
        out.append((v[0], v[1], -leaving))
    return out


def hole(sheet, centre, radius, share):
    """A mounting hole: its CIRCLE, or an ELLIPSE as `--ellipse-share` asks, whole or half of one."""
    made = sheet.counts["ellipses"]
    if share and made * share < sheet.counts["entities"]:
        angle = math.radians(15 * (made % 12))
        major = (radius * math.cos(angle), radius * math.sin(angle))
        sheet.ellipse("HOLES", centre, major, 0.5, 0.0, math.pi if made % 2 else 2 * math.pi)
    else:
        sheet.circle("HOLES", centre, radius)


def plate(sheet, rng, ox, oy, share=0):
    """One plate in the cell at (ox, oy): the entities go to `sheet` in a shuffled order."""
    start = len(sheet.entities)
    w, h = rng.uniform(40, 52), rng.uniform(24, 32)
    rc = rng.uniform(2, 4)
    P = lambda x, y: (ox + x, oy + y)
    if rng.random() < 0.6:
        sheet.count(contours=1)
        sides = [(P(rc, 0), P(w - rc, 0)), (P(w, rc), P(w, h - rc)),
                 (P(w - rc, h), P(rc, h)), (P(0, h - rc), P(0, rc))]
        for p, q in sides:
            if rng.random() < 0.5:
                p, q = q, p
            sheet.line("CUT", p, q)
        for (cx, cy), a0 in (((w - rc, rc), 270), ((w - rc, h - rc), 0), ((rc, h - rc), 90), ((rc, rc), 180)):
            sheet.arc("CUT", P(cx, cy), rc, a0, a0 + 90 if a0 + 90 < 360 else 0)
    else:
        b = CORNER_BULGE
        vertices = [(rc, 0, 0), (w - rc, 0, b), (w, rc, 0), (w, h - rc, b),
                    (w - rc, h, 0), (rc, h, b), (0, h - rc, 0), (0, rc, b)]
        vertices = [(ox + x, oy + y, bulge) for x, y, bulge in vertices]
        if rng.random() < 0.5:
            vertices = reversed_polyline(vertices)
        sheet.polyline("CUT", vertices)
    for x, y in ((5, 5), (w - 5, 5), (w - 5, h - 5), (5, h - 5)):
        hole(sheet, P(x, y), rng.uniform(1.2, 1.8), share)
    for x in (5, w - 5):
        hole(sheet, P(x, h / 2), 1.5, share)
    half = min(8.0, w / 2 - 12)
    for y in [6.0] + ([h - 6.0] if rng.random() < 0.5 else []):
        x0, x1 = w / 2 - half, w / 2 + half
        if rng.random() < 0.5:
            sheet.count(contours=1)
            sheet.line("HOLES", P(x0, y - 2), P(x1, y - 2))
            sheet.arc("HOLES", P(x1, y), 2, 270, 90)
            sheet.line("HOLES", P(x1, y + 2), P(x0, y + 2))
            sheet.arc("HOLES", P(x0, y), 2, 90, 270)
        else:
            vertices = [(ox + x, oy + yy, bulge) for x, yy, bulge in obround(x0, x1, y, 2)]
            if rng.random() < 0.5:
                vertices = reversed_polyline(vertices)
            sheet.polyline("HOLES", vertices)
    if rng.randrange(ELLIPSE_EVERY) == 0:
        angle = math.radians(rng.choice((0, 15, 165, 180)))
        sheet.ellipse("HOLES", P(w / 2, h / 2), (6 * math.cos(angle), 6 * math.sin(angle)), 0.5)
    else:
        for x in (w / 2 - 6, w / 2 + 6):
            sheet.circle("HOLES", P(x, h / 2), 2.0)
    mine = sheet.entities[start:]
    rng.shuffle(mine)
    sheet.entities[start:] = mine


def build(count, version, seed, share=0):
    rng = random.Random(seed)
    sheet = Sheet(version)
    columns = max(1, round(math.sqrt(count / 17 * CELL_H / CELL_W)))
    cell = 0
    # A plate has at most 8 + 6 + 2 * 4 + 2 = 24 entities; when fewer than that are left, the
    # rest are single circles, one to a cell.
    while sheet.counts["entities"] + 24 <= count:
        plate(sheet, rng, (cell % columns) * CELL_W, (cell // columns) * CELL_H, share)
        cell += 1
    while sheet.counts["entities"] < count:
        sheet.circle("HOLES", ((cell % columns) * CELL_W + 20, (cell // columns) * CELL_H + 15), 10)
        cell += 1
    return sheet


def write_ezdxf(sheet, path):
    import ezdxf

    doc = ezdxf.new(sheet.version)
    for name in ("CUT", "HOLES"):
        doc.layers.add(name)
    msp = doc.modelspace()
    for e in sheet.entities:
        kind, layer = e[0], {"layer": e[1]}
        if kind == "LINE":
            msp.add_line(e[2], e[3], dxfattribs=layer)
        elif kind == "ARC":
            msp.add_arc(e[2], e[3], e[4], e[5], dxfattribs=layer)
        elif kind == "CIRCLE":
            msp.add_circle(e[2], e[3], dxfattribs=layer)
        elif kind == "ELLIPSE":
            msp.add_ellipse(e[2], major_axis=e[3], ratio=e[4], start_param=e[5], end_param=e[6],
                            dxfattribs=layer)
        elif sheet.version == "R12":
            msp.add_polyline2d(e[2], format="xyb", close=True, dxfattribs=layer)
        else:
            msp.add_lwpolyline(e[2], format="xyb", close=True, dxfattribs=layer)
    doc.saveas(path)


def fmt(value):
    return repr(float(value))


def write_text(sheet, path):
    """The same drawing as plain group codes: a minimal header, the ENTITIES section."""
    out = []
    put = out.append
    r2000 = sheet.version == "R2000"
    handle = [0x100]

    def entity(name, layer, subclass=None):
        handle[0] += 1
        put(f"  0\n{name}\n  5\n{handle[0]:X}\n")
        if r2000:
            put(f"330\n1F\n100\nAcDbEntity\n  8\n{layer}\n")
            if subclass:
                put(f"100\n{subclass}\n")
        else:
            put(f"  8\n{layer}\n")

    put(f"  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n{'AC1015' if r2000 else 'AC1009'}\n"
        "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n")
    for e in sheet.entities:
        kind, layer = e[0], e[1]
        if kind == "LINE":
            entity("LINE", layer, "AcDbLine")
            put(f" 10\n{fmt(e[2][0])}\n 20\n{fmt(e[2][1])}\n 30\n0.0\n"
                f" 11\n{fmt(e[3][0])}\n 21\n{fmt(e[3][1])}\n 31\n0.0\n")
        elif kind in ("ARC", "CIRCLE"):
            entity(kind, layer, "AcDbCircle")
            put(f" 10\n{fmt(e[2][0])}\n 20\n{fmt(e[2][1])}\n 30\n0.0\n 40\n{fmt(e[3])}\n")
            if kind == "ARC":
                if r2000:
                    put("100\nAcDbArc\n")
                put(f" 50\n{fmt(e[4])}\n 51\n{fmt(e[5])}\n")
        elif kind == "ELLIPSE":
            entity("ELLIPSE", layer, "AcDbEllipse")
            put(f" 10\n{fmt(e[2][0])}\n 20\n{fmt(e[2][1])}\n 30\n0.0\n"
                f" 11\n{fmt(e[3][0])}\n 21\n{fmt(e[3][1])}\n 31\n0.0\n"
                f"210\n0.0\n220\n0.0\n230\n1.0\n 40\n{fmt(e[4])}\n 41\n{fmt(e[5])}\n 42\n{fmt(e[6])}\n")
        elif r2000:
            entity("LWPOLYLINE", layer, "AcDbPolyline")
            put(f" 90\n{len(e[2])}\n 70\n1\n 43\n0.0\n")
            for x, y, bulge in e[2]:
                put(f" 10\n{fmt(x)}\n 20\n{fmt(y)}\n")
                if bulge:
                    put(f" 42\n{fmt(bulge)}\n")
        else:
            entity("POLYLINE", layer)
            put(" 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n1\n")
            for x, y, bulge in e[2]:
                entity("VERTEX", layer)
                put(f" 10\n{fmt(x)}\n 20\n{fmt(y)}\n 30\n0.0\n")
                if bulge:
                    put(f" 42\n{fmt(bulge)}\n")
            entity("SEQEND", layer)
    put("  0\nENDSEC\n  0\nEOF\n")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("".join(out))


def audit(path):
    import ezdxf

    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    for error in auditor.errors:
        print(f"{path}: {error.message}", file=sys.stderr)
    print(f"audit {path}: {len(doc.modelspace())} entities, {len(auditor.errors)} errors")
    return 1 if auditor.has_errors else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[1],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out", nargs="?", help="the drawing to write")
    parser.add_argument("--entities", type=int, default=10000)
    parser.add_argument("--version", choices=("R12", "R2000"), default="R2000")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--ellipse-share", type=int, default=0, metavar="K",
                        help="about one entity in K an ELLIPSE, whole or half (R2000 only)")
    parser.add_argument("--writer", choices=("ezdxf", "text"), default="ezdxf")
    parser.add_argument("--audit", metavar="FILE", help="audit FILE with ezdxf and exit")
    args = parser.parse_args()
    if args.audit:
        return audit(args.audit)
    if not args.out:
        parser.error("the output drawing is missing")
    if args.entities < 1:
        parser.error("--entities must be at least 1")
    if args.ellipse_share < 0 or (args.ellipse_share and args.version != "R2000"):
        parser.error("--ellipse-share takes a positive number and an R2000 drawing")
    sheet = build(args.entities, args.version, args.seed, args.ellipse_share)
    (write_ezdxf if args.writer == "ezdxf" else write_text)(sheet, args.out)
    print(" ".join(f"{key} {value}" for key, value in sheet.counts.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
