# ezdxf_drawings.py FOLDER POINTS
#
# Writes two drawings with ezdxf, an independent DXF library, into FOLDER: r12.dxf and
# r2000.dxf. Then prints, for "*" and each layer of each: the cut length, how much a chord
# polygon of POINTS points per ellipse falls short of it, the number of lines and arcs, of
# connected outlines, where the first starts and the least and greatest X and Y word (machine
# words before scaling: X from the drawing's Y, less the UCS origin); then the layers that LINE,
# POLYLINE and LWPOLYLINE name, in drawing order, a repeat of the last left out; then DONE.
import sys, math, ezdxf
from ezdxf.math import Vec2

folder, points = sys.argv[1], int(sys.argv[2])

def r12():
    doc = ezdxf.new("R12")
    doc.header["$UCSORG"] = (-2.0, 4.0, 0)
    msp = doc.modelspace()
    msp.add_polyline2d([(0, 0, 0), (40, 0, 0.5), (40, 20, 0), (0, 20, -0.4)], format="xyb", close=True,
                       dxfattribs={"layer": "PLATE"})
    msp.add_polyline2d([(60, 0, 1), (70, 0, 0), (70, 10, -0.3), (80, 15, 0)], format="xyb",
                       dxfattribs={"layer": "PLATE"})
    msp.add_circle((20, 10), 4, dxfattribs={"layer": "HOLES"})
    msp.add_line((100, 0), (110, 0), dxfattribs={"layer": "SLOT"})
    msp.add_arc((110, 5), 5, 270, 90, dxfattribs={"layer": "SLOT"})
    msp.add_line((110, 10), (100, 10), dxfattribs={"layer": "SLOT"})
    msp.add_arc((100, 5), 5, 90, 270, dxfattribs={"layer": "SLOT"})
    return doc

def r2000():
    doc = ezdxf.new("R2000")
    doc.header["$UCSORG"] = (5.0, -3.0, 0)
    msp = doc.modelspace()
    # bulges 1 and -1, a repeated vertex whose own bulge shapes nothing, a bulged closing segment
    msp.add_lwpolyline([(0, 0, 0), (50, 0, 1), (50, 10, 0), (60, 10, 0.7), (60, 10, -1), (60, 30, 0),
                        (0, 30, 0.25)], format="xyb", close=True, dxfattribs={"layer": "OUTLINE"})
    msp.add_lwpolyline([(80, 0, 2.5), (90, 0, -1.8), (100, 0, 0), (100, 5, 0)], format="xyb",
                       dxfattribs={"layer": "CURVES"})
    msp.add_trace([(0, 50), (20, 50), (0, 60), (25, 62)], dxfattribs={"layer": "PLATES"})
    msp.add_solid([(40, 50), (55, 50), (45, 60), (45, 60)], dxfattribs={"layer": "PLATES"})
    msp.add_ellipse((120, 20), major_axis=(12, 5), ratio=0.5, dxfattribs={"layer": "ELLIPSES"})
    msp.add_ellipse((150, 20), major_axis=(0, 8), ratio=0.4, start_param=0.3, end_param=2.5,
                    dxfattribs={"layer": "ELLIPSES"})
    msp.add_ellipse((180, 20), major_axis=(-6, 6), ratio=0.6, start_param=5.5, end_param=1.0,
                    dxfattribs={"layer": "ELLIPSES"})
    msp.add_line((100, 80), (110, 80), dxfattribs={"layer": "Slot cut"})
    msp.add_arc((110, 85), 5, 270, 90, dxfattribs={"layer": "Slot cut"})
    msp.add_line((110, 90), (100, 90), dxfattribs={"layer": "Slot cut"})
    msp.add_arc((100, 85), 5, 90, 270, dxfattribs={"layer": "Slot cut"})
    return doc

def cut(e):
    """[length, chord shortfall, lines and arcs, [(start, end)], points along it]"""
    kind = e.dxftype()
    if kind in ("LWPOLYLINE", "POLYLINE"):
        total = [0.0, 0.0, 0, [], []]
        for v in e.virtual_entities():
            for i, x in enumerate(cut(v)):
                total[i] += x
        return total
    if kind == "LINE":
        s, f = Vec2(e.dxf.start), Vec2(e.dxf.end)
        return [s.distance(f), 0.0, 1, [(s, f)], [s, f]]
    if kind == "ARC":
        a = e.construction_tool()
        along = [Vec2(v) for v in a.vertices(a.angles(3601))]
        return [a.radius * math.radians(a.angle_span), 0.0, 1, [(along[0], along[-1])], along]
    if kind == "CIRCLE":
        top = Vec2(e.dxf.center) + Vec2(0, e.dxf.radius)
        along = [Vec2(v) for v in e.vertices([i / 10 for i in range(3600)])]
        return [2 * math.pi * e.dxf.radius, 0.0, 1, [(top, top)], along]
    if kind == "ELLIPSE":
        ce = e.construction_tool()
        def polygon(n):
            p = [Vec2(v) for v in ce.vertices(ce.params(n + 1))]
            return sum(p[i].distance(p[i + 1]) for i in range(n)), p
        fine, p = polygon(100000)
        return [fine, fine - polygon(points)[0], 0, [(p[0], p[-1])], p]
    if kind in ("TRACE", "SOLID"):
        p = [Vec2(e.dxf.get("vtx%d" % i)) for i in range(4)]
        sides = [(a, b) for a, b in ((p[0], p[1]), (p[1], p[3]), (p[2], p[3]), (p[2], p[0])) if a != b]
        return [sum(a.distance(b) for a, b in sides), 0.0, len(sides), sides, p]
    raise SystemExit("no length for " + kind)

def outlines(ends):
    pts = [p for piece in ends for p in piece]
    up = list(range(len(pts)))
    def root(i):
        while up[i] != i:
            i = up[i]
        return i
    for i in range(0, len(pts), 2):
        up[root(i + 1)] = root(i)
    for i in range(len(pts)):
        for j in range(i):
            if abs(pts[i].x - pts[j].x) + abs(pts[i].y - pts[j].y) <= 0.001:
                up[root(i)] = root(j)
    return len({root(i) for i in range(len(pts))})

for name, make in (("r12", r12), ("r2000", r2000)):
    doc = make()
    ux, uy = doc.header["$UCSORG"][:2]
    doc.saveas(folder + "/" + name + ".dxf")
    entities = list(doc.modelspace())
    cuts = [cut(e) for e in entities]
    for layer in ["*"] + sorted({e.dxf.layer for e in entities}):
        chosen = [e for e in entities if layer == "*" or e.dxf.layer == layer]
        parts = [c for e, c in zip(entities, cuts) if layer == "*" or e.dxf.layer == layer]
        ends = [x for p in parts for x in p[3]]
        start = "-|-"
        if chosen[0].dxftype() != "ELLIPSE":
            start = "%.4f|%.4f" % (ends[0][0].y - uy, ends[0][0].x - ux)
        xs = [v.x - ux for p in parts for v in p[4]]
        ys = [v.y - uy for p in parts for v in p[4]]
        print("LAYER|%s|%s|%.6f|%.6f|%d|%d|%s|%.6f|%.6f|%.6f|%.6f" % (name, layer, sum(p[0] for p in parts),
              sum(p[1] for p in parts), sum(p[2] for p in parts), outlines(ends), start, min(ys), max(ys), min(xs),
              max(xs)))
    last = None
    for e in entities:
        if e.dxftype() in ("LINE", "POLYLINE", "LWPOLYLINE") and e.dxf.layer != last:
            last = e.dxf.layer
            print("LOG|%s|%s" % (name, last))
print("DONE")
