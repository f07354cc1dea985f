#!/usr/bin/python3
"""ezdxf-read.py FILE: reads FILE with ezdxf.readfile (the whole document loaded into entity
objects, nothing else) and prints what it saw on one line, for dxf-speed.sh to check:
  entities N vertices V
N counts the model space entities (a POLYLINE with its VERTEX records is one), V the polyline
vertices. Run it with /usr/bin/python3, whose ezdxf is Debian's python3-ezdxf.
"""
import sys

import ezdxf


def main():
    if len(sys.argv) != 2:
        print("usage: ezdxf-read.py FILE", file=sys.stderr)
        return 2
    try:
        doc = ezdxf.readfile(sys.argv[1])
    except (IOError, ezdxf.DXFStructureError) as error:
        print(f"{sys.argv[1]}: {error}", file=sys.stderr)
        return 1
    entities = vertices = 0
    for entity in doc.modelspace():
        entities += 1
        kind = entity.dxftype()
        if kind == "LWPOLYLINE":
            vertices += len(entity)
        elif kind == "POLYLINE":
            vertices += len(entity.vertices)
    print(f"entities {entities} vertices {vertices}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
