#!/usr/bin/env python3
"""Fails when an include in src/ runs against the layers: ui and text at the bottom, profile on
them, the subsystems (plot, geometry, dxf, texttools, comm) on those and not on each other,
app on all of them, gui on app; the core never includes Qt."""
import pathlib, re, sys

BELOW = {
    "ui": set(), "text": {"ui"},
    "profile": {"text", "ui"},
    "plot": {"text", "ui", "profile"}, "geometry": {"text", "ui", "profile"},
    "dxf": {"text", "ui", "profile"}, "texttools": {"text", "ui", "profile"},
    "comm": {"text", "ui", "profile"},
}
BELOW["app"] = set(BELOW) - {"app"}
# Interface headers one subsystem may take from another: the DXF writer receives the moves, and
# the final pass of a conversion puts a program on its way to a file in the line order.
INTERFACES = {("dxf", "core/plot/MoveSink.h"), ("dxf", "core/plot/DxfRecordSink.h"),
              ("dxf", "core/texttools/LineOrder.h")}

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".") / "src"
faults = []
for path in sorted(root.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    parts = path.relative_to(root).parts
    if parts[0] != "core":
        continue
    layer = parts[1] if len(parts) > 2 else None
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        m = re.match(r'\s*#\s*include\s*[<"]([^">]+)[">]', line)
        if not m:
            continue
        target = m.group(1)
        where = f"{path.relative_to(root.parent)}:{number}: {target}"
        if re.match(r"Q[A-Za-z]|Qt", target):
            faults.append(where + " (the core includes no Qt header)")
        t = target.split("/")
        if t[0] == "gui":
            faults.append(where + " (the core includes no window)")
        if t[0] != "core" or len(t) < 3 or layer is None or t[1] == layer:
            continue
        if t[1] not in BELOW.get(layer, set()) and (layer, target) not in INTERFACES:
            faults.append(where + f" ({layer} may not include {t[1]})")
for fault in faults:
    print(fault)
print(f"{len(faults)} include(s) against the layers")
sys.exit(1 if faults else 0)
