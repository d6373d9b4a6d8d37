#!/usr/bin/python3
"""Writes the DXF drawings of xomplot's DXF tests with ezdxf, an independent DXF writer, and beside
each NAME.dxf a NAME.expect file with the geometry ezdxf itself computes for the drawing:

    path x,y x,y ...      a line the plot must show (model millimetres)
    band W x,y x,y ...    a line W wide
    fill x,y x,y ...      an area the plot must fill
    box x0,y0,x1,y1       ink may lie in this box, and some must (texts)
    colour x,y RRGGBB     the colour at that point
    hue x,y RRGGBB        that colour near that point

Usage: make_fixtures.py OUTDIR
"""
import os
import sys

import ezdxf
from ezdxf import disassemble
from ezdxf.math import Vec2

OUT = sys.argv[1]
os.makedirs(OUT, exist_ok=True)
# Every drawing spans the same frame: two dots at its corners give it known extents.
FRAME = [(-90.0, -120.0), (90.0, 120.0)]


def new(version="R2018"):
    doc = ezdxf.new(version, setup=True)
    doc.header["$INSUNITS"] = 4  # millimetres
    msp = doc.modelspace()
    if version == "R12":
        # R12 has no line weights: a dot of the default weight is smaller than a rendered pixel.
        msp.add_line(FRAME[0], (FRAME[0][0] + 1, FRAME[0][1]))
        msp.add_line((FRAME[1][0] - 1, FRAME[1][1]), FRAME[1])
    else:
        for p in FRAME:
            msp.add_point(p, dxfattribs={"lineweight": 50})
    return doc, msp


def expected_paths(entities, out, fill_types=("SOLID", "TRACE", "HATCH")):
    for prim in disassemble.to_primitives(disassemble.recursive_decompose(entities),
                                          max_flattening_distance=0.05):
        kind = prim.entity.dxftype() if prim.entity else ""
        pts = [Vec2(v) for v in prim.vertices()]
        if not pts:
            continue
        word = "fill" if kind in fill_types else "path"
        out.append(word + " " + " ".join("%.4f,%.4f" % (p.x, p.y) for p in pts))


def save(name, doc, expect=None, extra=()):
    doc.saveas(os.path.join(OUT, name + ".dxf"))
    lines = []
    if expect is None:
        expect_entities = list(doc.modelspace())
        expected_paths(expect_entities, lines)
    else:
        lines = ["path %g,%g" % p for p in FRAME] + list(expect)
    lines.extend(extra)
    with open(os.path.join(OUT, name + ".expect"), "w") as f:
        f.write("\n".join(lines) + "\n")


def lines_and_points():
    doc, msp = new("R12")
    msp.add_line((-60, 0), (60, 0))
    msp.add_line((0, -80), (40, 80))
    msp.add_circle((30, -40), 2)
    save("lines", doc)


def polylines():
    doc, msp = new()
    msp.add_lwpolyline([(-50, -50, 0, 0, 1), (50, -50, 0, 0, 0)], format="xyseb")
    msp.add_lwpolyline([(-60, 60), (60, 60), (60, 90)], dxfattribs={"const_width": 4})
    p = msp.add_polyline2d([(-60, 20), (0, 40), (60, 20)], dxfattribs={"closed": True})
    p.vertices[1].dxf.bulge = -0.5
    save("polylines", doc, extra=["band 4 -60,60 60,60 60,90", "weight 0,60 4.0"])


def tapers():
    """Polylines whose width varies from vertex to vertex: ezdxf's own outlines of them."""
    from ezdxf.render.trace import TraceBuilder
    doc, msp = new()
    shapes = [
        msp.add_lwpolyline([(-70, 60, 2, 8, 0), (0, 60, 8, 2, 0), (40, 100, 2, 2, 0)],
                           format="xyseb"),
        msp.add_lwpolyline([(-70, 0, 12, 0, 0), (-10, 0, 0, 0, 0)], format="xyseb"),
        msp.add_polyline2d([(10, -20, 0, 10, 0.4), (70, -20, 0, 0, 0)], format="xyseb"),
        msp.add_polyline2d([(-60, -100, 2, 6, 0), (0, -70, 6, 1, 0), (60, -100, 0, 0, 0)],
                           format="xyseb"),
    ]
    expect = []
    for shape in shapes:
        for face in TraceBuilder.from_polyline(shape).faces():
            face = list(face) + [face[0]]  # closed, so that every side is checked
            expect.append("fill " + " ".join("%.4f,%.4f" % (v.x, v.y) for v in face))
    save("tapers", doc, expect=expect)


def curves():
    doc, msp = new()
    msp.add_circle((0, 40), 30, dxfattribs={"color": 1})
    msp.add_arc((0, 40), 50, 0, 135, dxfattribs={"color": 5})
    msp.add_ellipse((0, -50), major_axis=(60, 20), ratio=0.4)
    msp.add_ellipse((0, -50), major_axis=(0, 40), ratio=0.5, start_param=0.3, end_param=2.5)
    save("curves", doc, extra=["colour 30,40 FF0000"])


def splines():
    doc, msp = new()
    msp.add_cad_spline_control_frame([(-70, -60), (-20, 60), (20, -60), (70, 60)])
    msp.add_open_spline([(-70, 80), (-30, 110), (30, 50), (70, 80)], degree=3)
    msp.add_rational_spline([(-60, -100), (0, -40), (60, -100)], weights=[1, 3, 1], degree=2)
    save("splines", doc)


def fit_splines():
    """Splines given only by their fit points: ezdxf's own interpolation is the expected curve."""
    doc, msp = new()
    msp.add_spline([(-70, 60), (-20, 100), (20, 20), (70, 100)])
    tangents = msp.add_spline([(-70, -20), (-40, 20), (0, -10), (30, 30), (50, 0), (70, 10)])
    tangents.dxf.start_tangent = (0, -1, 0)
    tangents.dxf.end_tangent = (1, 1, 0)
    msp.add_spline([(-60, -100), (0, -50), (60, -100)])
    save("fitsplines", doc)


def faces():
    doc, msp = new()
    msp.add_solid([(-60, 40), (-10, 40), (-60, 90), (-10, 90)], dxfattribs={"color": 3})
    msp.add_trace([(10, 40), (60, 40), (10, 90), (60, 90)])
    msp.add_3dface([(-50, -80, 5), (50, -80, 0), (50, -20, 10), (-50, -20, 0)])
    save("faces", doc, extra=["colour -35,65 00FF00"])


def inserts():
    doc, msp = new()
    leaf = doc.blocks.new("LEAF", base_point=(5, 5))
    leaf.add_line((0, 0), (10, 10))
    leaf.add_circle((5, 5), 3)
    branch = doc.blocks.new("BRANCH")
    branch.add_blockref("LEAF", (0, 0))
    branch.add_blockref("LEAF", (20, 0), dxfattribs={"rotation": 90, "xscale": 2, "yscale": 2})
    tagged = doc.blocks.new("TAGGED")
    tagged.add_lwpolyline([(0, 0), (20, 0), (20, 10), (0, 10)], close=True)
    tagged.add_attdef("NAME", (1, 2), dxfattribs={"height": 5})
    msp.add_blockref("BRANCH", (-60, 40))
    ref = msp.add_blockref("LEAF", (20, 40))
    ref.dxf.row_count, ref.dxf.column_count = 2, 3
    ref.dxf.row_spacing, ref.dxf.column_spacing = 25, 15
    mirrored = msp.add_blockref("BRANCH", (-40, -40), dxfattribs={"xscale": -1})
    del mirrored
    t = msp.add_blockref("TAGGED", (20, -80))
    t.add_auto_attribs({"NAME": "A1"})
    expect = []
    expected_paths([e for e in msp if e.dxftype() != "INSERT" or e.dxf.name != "TAGGED"], expect)
    # The tagged block: its outline exactly, its attribute text inside its box.
    expect.append("path 20,-80 40,-80 40,-70 20,-70 20,-80")
    save("inserts", doc, expect=expect, extra=["box 20.5,-79,33,-71.5"])


def properties():
    doc, msp = new()
    doc.header["$LTSCALE"] = 2.0
    doc.layers.add("RED", color=1, lineweight=100)
    doc.layers.add("OFF", color=2).off()
    doc.layers.add("FROZEN", color=3).freeze()
    doc.layers.add("DASHES", color=5, linetype="DASHED")
    msp.add_line((-80, 100), (80, 100), dxfattribs={"layer": "RED"})
    msp.add_line((-80, 80), (80, 80), dxfattribs={"layer": "OFF"})
    msp.add_line((-80, 60), (80, 60), dxfattribs={"layer": "FROZEN"})
    msp.add_line((-80, 40), (80, 40), dxfattribs={"layer": "DASHES"})
    msp.add_line((-80, 20), (80, 20), dxfattribs={"true_color": 0x00A0FF, "lineweight": 200})
    msp.add_line((-80, 0), (80, 0), dxfattribs={"color": 7})
    blk = doc.blocks.new("BYBLOCK")
    blk.add_line((0, 0), (160, 0), dxfattribs={"color": 0})
    msp.add_blockref("BYBLOCK", (-80, -20), dxfattribs={"color": 6})
    save("properties", doc,
         expect=["path -80,100 80,100", "path -80,40 80,40", "path -80,20 80,20",
                 "path -80,0 80,0", "path -80,-20 80,-20"],
         extra=["colour -70,100 FF0000", "colour 0,20 00A0FF", "colour -70,0 000000",
                "colour -70,-20 FF00FF", "weight -70,100 1.0", "weight -60,20 2.0",
                "dashed -80,40 80,40"])


def texts():
    doc, msp = new()
    msp.add_text("Left", dxfattribs={"height": 10}).set_placement((-80, 60))
    msp.add_text("Mid", dxfattribs={"height": 10, "width": 2.0}).set_placement(
        (0, 0), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    msp.add_text("Up", dxfattribs={"height": 10, "rotation": 90}).set_placement((60, -80))
    msp.add_mtext("Two\\Plines", dxfattribs={"char_height": 8, "insert": (-80, -40),
                                            "attachment_point": 1})
    msp.add_text("bad \x01 \xff", dxfattribs={"height": 5}).set_placement((-80, 100))
    save("texts", doc, expect=[],
         extra=["box -81,59,-50,72", "box -40,-6,40,6", "box 49,-81,63,-55",
                "box -81,-69,-50,-39", "box -81,97,-40,106", "box -80,-48,-50,-39",
                "box -80,-62,-50,-51"])


def wrapped():
    """MTEXT wrapped at its reference width: a DejaVu Sans W is about 1.4 heights wide, so each
    five-W word fits the 40 mm width alone and no two fit together; the paragraph after the
    break fits on one line. Line pitch: 5/3 of the height."""
    doc, msp = new()
    msp.add_mtext("WWWWW WWWWW WWWWW\\PWW WW", dxfattribs={
        "char_height": 5, "insert": (-80, 100), "attachment_point": 1, "width": 40})
    boxes = []
    for k, right in enumerate((-39, -39, -39, -39)):
        base = 95 - 25 / 3 * k
        boxes.append("box -81,%.2f,%g,%.2f" % (base - 1.5, right, base + 5.5))
    save("wrapped", doc, expect=[], extra=boxes)


def hatches():
    doc, msp = new()
    h = msp.add_hatch(color=1)
    h.paths.add_polyline_path([(-60, 20), (60, 20), (60, 100), (-60, 100)], is_closed=True)
    h.paths.add_polyline_path([(-20, 40), (20, 40), (20, 80), (-20, 80)], is_closed=True)
    p = msp.add_hatch(color=5)
    p.set_pattern_fill("ANSI31", scale=2)
    p.paths.add_polyline_path([(-60, -100), (60, -100), (60, -20), (-60, -20)], is_closed=True)
    save("hatches", doc, expect=["fill -60,20 60,20 60,100 -60,100 -60,20"],
         extra=["colour -50,60 FF0000", "colour 0,60 FFFFFF", "box -61,-101,61,-19",
                "box -61,-101,-50,-19", "box 50,-101,61,-19"])


def hatch_curves():
    """Hatch boundaries with spline edges (by control points and by fit points) and elliptical
    edges (counter-clockwise and clockwise): the fill follows the curves."""
    doc, msp = new()
    h = msp.add_hatch(color=1)
    p = h.paths.add_edge_path()
    p.add_line((-60, 0), (60, 0))
    p.add_spline(control_points=[(60, 0), (80, 40), (20, 100), (-40, 60), (-60, 0)], degree=3)
    f = msp.add_hatch(color=3)
    p = f.paths.add_edge_path()
    p.add_line((-80, -10), (-20, -10))
    p.add_spline(fit_points=[(-20, -10), (-30, -30), (-50, -40), (-80, -10)], degree=3)
    e = msp.add_hatch(color=5)
    p = e.paths.add_edge_path()
    p.add_line((0, -100), (70, -100))
    p.add_ellipse((0, -100), major_axis=(70, 0), ratio=0.5, start_angle=0, end_angle=90)
    p.add_line((0, -82.5), (0, -100))
    # Three quarters of an ellipse, clockwise from its top to its left end.
    c = msp.add_hatch(color=6)
    p = c.paths.add_edge_path()
    p.add_line((5, -40), (40, -40))
    p.add_line((40, -40), (40, -20))
    p.add_ellipse((40, -40), major_axis=(35, 0), ratio=20 / 35, start_angle=180, end_angle=90,
                  ccw=False)
    save("hatchcurves", doc)


def patterns():
    """Pattern hatches drawn with their dashes, dots, angle, spacing and colour: ezdxf's own hatch
    lines are the expected ink, and nothing between them."""
    from ezdxf.render import hatching
    doc, msp = new()

    def hatch(color, corners, **pattern):
        # Wide enough that a dot of the pattern covers a rendered pixel.
        h = msp.add_hatch(color=color, dxfattribs={"lineweight": 50})
        h.set_pattern_fill(color=color, **pattern)
        (x0, y0), (x1, y1) = corners
        h.paths.add_polyline_path([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], is_closed=True)
        return h

    hatches = {
        "FF0000": hatch(1, ((-80, 41), (80, 109)), name="ANSI33", scale=3),
        "0000FF": hatch(5, ((-80, -29), (-5, 29)), name="DASH", scale=2),
        "FF00FF": hatch(6, ((6, -29), (80, 29)), name="DOTS2", pattern_type=2,
                        definition=[[0, (0, 0), (2, 6), [5, -2.5, 0, -2.5]]]),
        "00FF00": hatch(3, ((-80, -109), (80, -51)), name="_USER", pattern_type=0, angle=30,
                        definition=[[30, (0, 0), (-2.5, 4.3301), []]]),
    }
    expect, extra = [], []
    for rgb, h in hatches.items():
        lines = list(hatching.hatch_entity(h))
        for s, e in lines:
            pts = [s] if s.isclose(e) else [s, e]
            expect.append("path " + " ".join("%.4f,%.4f" % (p.x, p.y) for p in pts))
        s, e = max(lines, key=lambda l: l[0].distance(l[1]))
        extra.append("hue %.4f,%.4f %s" % ((s.x + e.x) / 2, (s.y + e.y) / 2, rgb))
    save("patterns", doc, expect=expect, extra=extra)


def bad_files():
    doc, msp = new()
    a = doc.blocks.new("A")
    b = doc.blocks.new("B")
    a.add_blockref("B", (0, 0))
    b.add_blockref("A", (0, 0))
    msp.add_blockref("A", (0, 0))
    doc.saveas(os.path.join(OUT, "selfinsert.dxf"))
    doc, msp = new()
    msp.add_line((0, 0), (1e300, 1e300))
    doc.saveas(os.path.join(OUT, "absurd.dxf"))
    doc, msp = new()
    msp.add_line((0, 0), (10, 10))
    msp.add_leader([(0, 0), (10, 10)])
    msp.add_xline((0, 0), (1, 1))
    msp.add_xline((0, 0), (1, 2))
    doc.saveas(os.path.join(OUT, "notdrawn.dxf"))
    whole = open(os.path.join(OUT, "notdrawn.dxf"), "rb").read()
    open(os.path.join(OUT, "truncated.dxf"), "wb").write(whole[: len(whole) // 2])
    open(os.path.join(OUT, "binary.dxf"), "wb").write(b"AutoCAD Binary DXF\r\n\x1a\x00" + b"\x00" * 64)
    text = whole.decode("utf-8").replace("AC1032", "AC9999")
    open(os.path.join(OUT, "unknown-version.dxf"), "w").write(text)
    doc = ezdxf.new("R2018")
    doc.saveas(os.path.join(OUT, "empty.dxf"))


def floor_plan():
    """A realistic floor plan of a few thousand entities: wide wall polylines, doors as arcs in a
    block inserted in every room (turned and mirrored), desks with nested chairs and chair arrays,
    solid and pattern hatches, room labels, dimensions, and layers that are off or frozen whose
    entities lie across the rooms. Expected: ezdxf's geometry of everything plotted, boxes around
    the texts; the comparison also requires every other place to stay empty."""
    from ezdxf.render import hatching
    doc, msp = new()
    doc.layers.add("WALLS", color=7, lineweight=50)
    doc.layers.add("DOORS", color=3)
    doc.layers.add("FURNITURE", color=6)
    doc.layers.add("WET", color=4)
    doc.layers.add("STORE", color=1)
    doc.layers.add("TEXT", color=5)
    doc.layers.add("DIMS", color=2)
    doc.layers.add("OLD-WALLS", color=1).off()
    doc.layers.add("NOTES", color=3).freeze()
    door = doc.blocks.new("DOOR")
    door.add_line((0, 0), (0, 8))
    door.add_arc((0, 0), 8, 0, 90)
    chair = doc.blocks.new("CHAIR")
    chair.add_circle((0, 0), 0.8)
    chair.add_line((-0.8, -1), (0.8, -1))
    desk = doc.blocks.new("DESK")
    desk.add_lwpolyline([(0, 0), (8, 0), (8, 4), (0, 4)], close=True)
    desk.add_blockref("CHAIR", (4, -1.5))
    cols, rows, x0, y0 = 6, 8, -80.0, -100.0
    w, h = 160.0 / cols, 200.0 / rows
    texts, hatches, plotted = [], [], []
    for i in range(cols):
        for j in range(rows):
            x, y = x0 + i * w, y0 + j * h
            n = i * rows + j
            plotted.append(msp.add_lwpolyline([(x, y), (x + w, y), (x + w, y + h), (x, y + h)],
                                              close=True,
                                              dxfattribs={"layer": "WALLS", "const_width": 0.8}))
            turn = (0, 90, 180, 270)[n % 4]
            dx, dy = {0: (4, 1), 90: (w - 1, 4), 180: (w - 4, h - 1), 270: (1, h - 4)}[turn]
            plotted.append(msp.add_blockref("DOOR", (x + dx, y + dy), dxfattribs={
                "layer": "DOORS", "rotation": turn, "xscale": -1 if n % 3 == 0 else 1}))
            label = "R%d" % (n + 1)
            texts.append((label, x + 12, y + h - 5, 2.0))
            plotted.append(msp.add_text(label, dxfattribs={"height": 2.0, "layer": "TEXT"})
                           .set_placement((x + 12, y + h - 5)))
            if n % 7 == 3:
                wet = msp.add_hatch(color=256, dxfattribs={"layer": "WET"})
                wet.paths.add_polyline_path([(x + 2, y + 11), (x + w - 2, y + 11),
                                             (x + w - 2, y + h - 8), (x + 2, y + h - 8)],
                                            is_closed=True)
                hatches.append(("fill", wet, (x + w / 2, y + 14)))
                continue
            if n % 7 == 5:
                store = msp.add_hatch(dxfattribs={"layer": "STORE"})
                store.set_pattern_fill("ANSI31", color=256, scale=1.5)
                store.paths.add_polyline_path([(x + 2, y + 11), (x + w - 2, y + 11),
                                               (x + w - 2, y + h - 8), (x + 2, y + h - 8)],
                                              is_closed=True)
                hatches.append(("pattern", store, None))
                continue
            for k in range(2):
                plotted.append(msp.add_blockref("DESK", (x + 3 + k * 12, y + 12),
                                                dxfattribs={"layer": "FURNITURE"}))
            # Chairs: an array insert, and rows of single ones.
            array = msp.add_blockref("CHAIR", (x + 3, y + 18.5), dxfattribs={"layer": "FURNITURE"})
            array.dxf.row_count, array.dxf.column_count = 1, 4
            array.dxf.column_spacing = 2.5
            plotted.append(array)
            for k in range(48):
                plotted.append(msp.add_blockref(
                    "CHAIR", (x + 2.5 + (k % 12) * 1.9, y + 3.5 + (k // 12) * 1.9),
                    dxfattribs={"layer": "FURNITURE", "xscale": 0.5, "yscale": 0.5}))
            # A window in the outer wall: three parallel lines.
            for k in (-0.4, 0, 0.4):
                plotted.append(msp.add_line((x + 15, y + h + k), (x + 22, y + h + k),
                                            dxfattribs={"layer": "WALLS", "lineweight": 13}))
    # Entities of layers that are off or frozen, across the rooms.
    for i in range(cols):
        msp.add_line((x0 + i * w + 5, y0 + 5), (x0 + i * w + 5, y0 + 195),
                     dxfattribs={"layer": "OLD-WALLS"})
        msp.add_circle((x0 + i * w + w / 2, 0), 10, dxfattribs={"layer": "NOTES"})
        msp.add_text("OLD", dxfattribs={"layer": "NOTES", "height": 5}).set_placement(
            (x0 + i * w + 5, -30))
    dims = []
    for i in range(cols):
        d = msp.add_linear_dim(base=(0, -108), p1=(x0 + i * w, y0), p2=(x0 + (i + 1) * w, y0),
                               dimstyle="EZDXF", override={"dimtxt": 2.5, "dimasz": 1.5},
                               dxfattribs={"layer": "DIMS"})
        d.render()
        dims.append(d.dimension)
    for j in range(rows):
        d = msp.add_linear_dim(base=(-86, 0), p1=(x0, y0 + j * h), p2=(x0, y0 + (j + 1) * h),
                               angle=90, dimstyle="EZDXF",
                               override={"dimtxt": 2.5, "dimasz": 1.5},
                               dxfattribs={"layer": "DIMS"})
        d.render()
        dims.append(d.dimension)
    count = len(msp)
    assert count > 2000, count
    expect, extra = [], []
    walls = [e for e in plotted if e.dxf.layer == "WALLS" and e.dxftype() == "LWPOLYLINE"]
    shown = [e for e in disassemble.recursive_decompose(plotted + dims)
             if e.dxftype() not in ("TEXT", "MTEXT") and e.dxf.layer.upper() != "DEFPOINTS"
             and e not in walls]
    expected_paths(shown, expect)
    for wall in walls:
        pts = [p[:2] for p in wall.get_points()]
        expect.append("band 0.8 " + " ".join("%.4f,%.4f" % p for p in pts + pts[:1]))
    for e in disassemble.recursive_decompose(dims):
        if e.dxftype() == "MTEXT":
            p, size = e.dxf.insert, e.dxf.char_height
            half = len(e.plain_text()) * size * 0.55 + 1
            upright = abs(e.dxf.get("rotation", 0) % 180 - 90) < 1
            hx, hy = (size + 0.5, half) if upright else (half, size + 0.5)
            extra.append("box %.3f,%.3f,%.3f,%.3f" % (p.x - hx, p.y - hy, p.x + hx, p.y + hy))
    for label, x, y, size in texts:
        extra.append("box %.3f,%.3f,%.3f,%.3f" % (x - 0.3, y - 0.4 * size, x + len(label) * size
                                                  + 0.5, y + 1.1 * size))
    for kind, hatch, inside in hatches:
        if kind == "fill":
            path = hatch.paths.paths[0]
            pts = [v[:2] for v in path.vertices] + [path.vertices[0][:2]]
            expect.append("fill " + " ".join("%.4f,%.4f" % p for p in pts))
            extra.append("colour %.3f,%.3f 00FFFF" % inside)
        else:
            for s, e in hatching.hatch_entity(hatch):
                expect.append("path %.4f,%.4f %.4f,%.4f" % (s.x, s.y, e.x, e.y))
    save("floorplan", doc, expect=expect, extra=extra)


for make in (lines_and_points, polylines, tapers, curves, splines, fit_splines, faces, inserts, properties, texts,
             wrapped, hatches, hatch_curves, patterns, bad_files, floor_plan):
    make()
