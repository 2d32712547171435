#!/usr/bin/env python3
"""Writes the drawings of the ezdxf round trip: one file per theme and DXF version.

Usage: make_ezdxf_drawings.py OUTDIR

Each drawing exercises the entity kinds vtcad understands with data that tends to get lost
on the way through a reader and a writer: bulges and widths, closed and open polylines,
splines by fit points and by weighted control points, old-style polylines with spline-fit
and curve-fit vertices, aligned and non-ASCII text, formatted MTEXT, nested and
non-uniformly scaled block references, hatches with every kind of boundary edge, extended
data, extension dictionaries and table entries. R12 files use what R12 has.
"""
import math
import os
import sys

import ezdxf
from ezdxf.math import BSpline, Vec3, fit_points_to_cad_cv

APPID = "VTCAD_OUTSIDE"
CHINESE = "\u5730\u5757\u7f16\u53f7 \u5317\u4eac"  # "plot number, Beijing"
ACCENTED = "Stra\u00dfe \u00e9t\u00e9 \u00b1 \u00b0 \u00e6\u00f8\u00e5"
# What GBK can encode besides Chinese: the R12 file in that code page keeps its text in bytes.
ACCENTED_GBK = "\u00e9t\u00e9 \u00b1 \u00b0 \u00d7"


def accented(doc):
    return ACCENTED_GBK if doc.encoding == "gbk" else ACCENTED


def text_layer(doc):
    return "Text-\u5730" if doc.encoding == "gbk" else "Text-\u00c4"


def new_drawing(version, codepage=None):
    doc = ezdxf.new(version, setup=["linetypes"])
    if codepage:
        doc.encoding = codepage  # ezdxf writes $DWGCODEPAGE from it
    doc.appids.new(APPID)
    doc.layers.new("WALLS", dxfattribs={"color": 1, "linetype": "DASHED"})
    doc.layers.new(text_layer(doc), dxfattribs={"color": 3})
    doc.layers.new("HIDDEN_THINGS", dxfattribs={"color": -5, "linetype": "DASHDOT"})
    doc.styles.new("NARROW", dxfattribs={"font": "romans.shx", "width": 0.8, "oblique": 12.5})
    if version != "R12":
        doc.layers.get("WALLS").dxf.lineweight = 35
        doc.styles.new("SANS", dxfattribs={"font": "DejaVuSans.ttf"})
    return doc


def tag_xdata(entity, index):
    entity.set_xdata(
        APPID,
        [
            (1000, f"item {index} \u00e9"),
            (1002, "{"),
            (1040, math.pi * index),
            (1070, index),
            (1071, 100000 + index),
            (1002, "}"),
            (1010, (index, -index / 3.0, 0.125)),
            (1011, (1.5, 2.5, 3.5)),
            (1041, 1.0e-7),
            (1042, 2.5),
        ],
    )


# ---- R12 and R2013: curves, points, old-style polylines ------------------------------------


def add_basic_curves(msp):
    msp.add_line((0, 0), (10.5, 3.25), dxfattribs={"layer": "WALLS"})
    msp.add_line((1e6, -2e6, 0.5), (1e6 + 0.1, -2e6 + 1 / 3.0, 7.25))
    msp.add_circle((5, 5), 2.5, dxfattribs={"layer": "WALLS", "color": 4})
    msp.add_circle((3, 4, 2), 1 / 7.0, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_arc((0, 0), 3, 30, 120)
    msp.add_arc((10, 0), 1.5, 300, 45)  # across 0 degrees
    msp.add_arc((-4, 2, 1), 2, 10, 200, dxfattribs={"extrusion": (0.6, 0, 0.8)})
    msp.add_point((1.25, -3.5, 0.75))
    msp.add_point((0.1, 0.2), dxfattribs={"layer": "HIDDEN_THINGS"})


def add_old_polylines(msp):
    # Bulges and widths, open and closed.
    msp.add_polyline2d(
        [(0, 0, 0.0, 0.5, 0.0), (4, 0, 0.25, 0.25, 0.5), (4, 3, 0.0, 0.0, -1.0), (0, 3, 0.1, 0.2, 0.0)],
        format="xyseb",
        close=True,
        dxfattribs={"layer": "WALLS"},
    )
    msp.add_polyline2d([(10, 0), (12, 1), (14, 0), (16, 1)], dxfattribs={"elevation": (0, 0, 2.5)})
    # Spline-fit vertices: the frame (flag 16) and the points of a cubic B-spline (flag 8).
    frame = [(20, 0), (22, 4), (26, 4), (28, 0), (31, 2)]
    fitted = BSpline([Vec3(p) for p in frame], order=4).approximate(16)
    spline_fit = msp.add_polyline2d([], dxfattribs={"flags": 4, "smooth_type": 6})
    spline_fit.append_vertices(frame, dxfattribs={"flags": 16})
    spline_fit.append_vertices([(p.x, p.y) for p in fitted], dxfattribs={"flags": 8})
    # Curve-fit vertices: the user's vertices with tangents (flag 2) and the extra ones (flag 1).
    curve_fit = msp.add_polyline2d([], dxfattribs={"flags": 2})
    for i in range(5):
        x = 40 + 2 * i
        curve_fit.append_vertex((x, math.sin(i)), dxfattribs={"flags": 2, "tangent": 15.0 * i})
        if i < 4:
            curve_fit.append_vertex((x + 1, math.sin(i + 0.5)), dxfattribs={"flags": 1, "bulge": 0.1})
    msp.add_polyline3d([(0, 10, 0), (3, 11, 2.5), (6, 10, -1.25), (9, 13, 4)])
    msp.add_polyline3d([(0, 20, 0), (5, 20, 1), (5, 25, 2)], close=True, dxfattribs={"layer": "WALLS"})


def add_texts(doc, msp):
    # Default alignment, then every kind of alignment point.
    msp.add_text("Plain ASCII", dxfattribs={"insert": (0, -10), "height": 2.5, "rotation": 15})
    alignments = ["TOP_LEFT", "MIDDLE_CENTER", "BOTTOM_RIGHT", "LEFT", "ALIGNED", "FIT"]
    for i, name in enumerate(alignments):
        text = msp.add_text(
            f"{name} {accented(doc)}", dxfattribs={"height": 1.5, "style": "NARROW", "layer": text_layer(doc)}
        )
        if name in ("ALIGNED", "FIT"):
            y = -14 - 3 * i
            text.set_placement((0, y), (20, y), align=ezdxf.enums.TextEntityAlignment[name])
        else:
            text.set_placement((5, -14 - 3 * i), align=ezdxf.enums.TextEntityAlignment[name])
    msp.add_text(CHINESE, dxfattribs={"insert": (0, -40), "height": 3, "width": 0.9, "oblique": 10})
    msp.add_text("%%c50 %%p0.5 %%d 100%%%", dxfattribs={"insert": (0, -45), "height": 1.0})


def add_blocks(doc, msp):
    inner = doc.blocks.new("INNER", base_point=(1, 1))
    inner.add_circle((1, 1), 0.5)
    inner.add_line((0, 0), (2, 2))
    outer_name = "OUTER \u5730" if doc.encoding == "gbk" else "OUTER \u00c4"
    outer = doc.blocks.new(outer_name, base_point=(0, 0, 0))
    if doc.dxfversion > "AC1009":
        outer.add_lwpolyline([(0, 0), (4, 0), (4, 4)])
    else:
        outer.add_polyline2d([(0, 0), (4, 0), (4, 4)])
    outer.add_blockref("INNER", (2, 2), dxfattribs={"xscale": 0.5, "yscale": 0.5, "rotation": 45})
    outer.add_text("in a block", dxfattribs={"insert": (0, 5), "height": 0.5})
    scaled = {"xscale": 2, "yscale": -0.75, "zscale": 3, "rotation": 30}
    msp.add_blockref(outer_name, (50, 50), dxfattribs=scaled)
    msp.add_blockref("INNER", (60, 50), dxfattribs={"layer": "WALLS"})
    upside_down = {"xscale": 1.5, "rotation": 400, "extrusion": (0, 0, -1)}
    msp.add_blockref("INNER", (70, 50, 5), dxfattribs=upside_down)


def add_data(msp):
    for i, entity in enumerate(msp):
        if i % 3 == 0:
            tag_xdata(entity, i)


# ---- R2013 only ----------------------------------------------------------------------------


def add_modern_curves(doc, msp):
    msp.add_ellipse((0, 0), major_axis=(4, 1), ratio=0.35)
    msp.add_ellipse((10, 0, 2), major_axis=(0, -3), ratio=0.6, start_param=0.5, end_param=4.0)
    msp.add_ellipse((20, 0), major_axis=(2, 2, 0), ratio=1.0, start_param=5.5, end_param=1.0)
    fit = [(0, 10), (3, 14), (7, 11), (10, 16), (14, 12)]
    msp.add_spline(fit, degree=3)
    s = msp.add_spline(fit, degree=3)
    s.dxf.start_tangent = (1, 1, 0)
    s.dxf.end_tangent = (1, -0.5, 0)
    msp.add_open_spline([(20, 10), (22, 15), (25, 9), (28, 14), (30, 10)], degree=3)
    msp.add_rational_spline(
        [(40, 10), (40, 15), (45, 15), (50, 12), (55, 15)], weights=[1, 0.5, 2.25, 1, 0.8], degree=2
    )
    # A closed rational spline with an irregular knot vector.
    closed = msp.add_rational_spline(
        [(60, 10), (64, 10), (64, 14), (60, 14), (60, 10)],
        weights=[1, 0.70710678118654757, 1, 0.70710678118654757, 1],
        degree=2,
        knots=[0, 0, 0, 0.25, 0.5, 1, 1, 1],
    )
    closed.closed = True
    msp.add_spline_control_frame([(0, 30, 0), (2, 33, 1), (5, 31, 2), (8, 35, 3)], degree=2)
    helix = msp.add_helix(radius=3, pitch=1.5, turns=2.5)
    helix.translate(80, 0, 0)
    msp.add_helix(radius=1, pitch=-2, turns=1, ccw=False).translate(90, 0, 1)


def add_lwpolylines(msp):
    msp.add_lwpolyline(
        [(0, 0, 0.5, 0.5, 0.0), (5, 0, 0.2, 0.8, 0.4142135623730951), (5, 5, 0, 0, -1), (0, 5, 0, 0, 0)],
        format="xyseb",
        close=True,
        dxfattribs={"layer": "WALLS"},
    )
    msp.add_lwpolyline([(10, 0), (12, 3), (15, 1)], dxfattribs={"const_width": 0.3, "elevation": 1.5})
    msp.add_lwpolyline(
        [(20, 0, 0.7), (22, 0, -0.7), (24, 0, 0)], format="xyb", dxfattribs={"extrusion": (0, 0, -1)}
    )
    msp.add_lwpolyline([(30, 0)])  # a single vertex


def add_mtexts(msp):
    formatted = msp.add_mtext(
        "First line\\PSecond {\\fArial|b1|i0;bold} and {\\C1;red} \\S1/2; and \\U+00B1 " + CHINESE,
        dxfattribs={"insert": (0, -60), "char_height": 1.2, "width": 30, "attachment_point": 5},
    )
    formatted.dxf.style = "SANS"
    m = msp.add_mtext("Turned\\P\\H2x;Big\\~text", dxfattribs={"insert": (40, -60), "char_height": 0.8})
    m.dxf.text_direction = (0.6, 0.8, 0)
    m.dxf.line_spacing_factor = 1.5
    long_text = "Long paragraph " + "word " * 80  # longer than one group 1 (250 characters)
    wrapped = {"insert": (0, -80), "char_height": 0.5, "width": 20, "attachment_point": 9}
    msp.add_mtext(long_text, dxfattribs=wrapped)


def add_hatches(msp):
    h = msp.add_hatch(color=2, dxfattribs={"layer": "WALLS"})
    h.paths.add_polyline_path([(0, 0, 0), (10, 0, 0.5), (10, 10, 0), (0, 10, 0)], is_closed=True, flags=1)
    h.paths.add_polyline_path([(2, 2), (4, 2), (4, 4)], is_closed=True, flags=16)
    h2 = msp.add_hatch()
    h2.set_pattern_fill("ANSI31", color=5, angle=30, scale=0.5)
    edges = h2.paths.add_edge_path(flags=1)
    edges.add_line((20, 0), (30, 0))
    edges.add_arc((30, 5), radius=5, start_angle=-90, end_angle=90, ccw=True)
    edges.add_ellipse((25, 10), major_axis=(-5, 0), ratio=0.4, start_angle=0, end_angle=180, ccw=True)
    edges.add_line((20, 10), (20, 0))
    h3 = msp.add_hatch(color=3)
    spline_path = h3.paths.add_edge_path()
    spline_path.add_spline(
        control_points=[(40, 0), (45, 5), (50, -5), (55, 0)],
        knot_values=[0, 0, 0, 0, 1, 1, 1, 1],
        weights=[1, 0.5, 0.5, 1],
        degree=3,
    )
    spline_path.add_line((55, 0), (40, 0))
    # A spline edge with fit data. It carries its control points too, as CAD programs write
    # them (ezdxf alone would leave them out and write a knot vector that is not one).
    fit = [(42, 1), (46, 2), (50, 1)]
    curve = fit_points_to_cad_cv(fit, tangents=[(1, 0), (1, 0)])
    fitted = h3.paths.add_edge_path(flags=16)
    fitted.add_spline(
        fit_points=fit,
        control_points=[(p.x, p.y) for p in curve.control_points],
        knot_values=list(curve.knots()),
        degree=3,
        start_tangent=(1, 0),
        end_tangent=(1, 0),
    )
    fitted.add_arc((46, 1), radius=4, start_angle=180, end_angle=0, ccw=False)
    h3.set_seed_points([(41, 0.5), (47, 1.5)])


def add_extension_dictionaries(doc, msp):
    for i, entity in enumerate(msp):
        if i % 4 == 1:
            xdict = entity.new_extension_dict()
            record = xdict.add_xrecord(f"VTCAD_NOTE_{i}")
            record.reset([(1, f"note {i}"), (40, i / 7.0), (90, i), (10, (i, 2 * i, 0))])
    doc.rootdict.add_new_dict("VTCAD_OUTSIDE_DICT").add_xrecord("SETTINGS").reset([(1, "kept"), (70, 3)])


def add_paper_space(doc):
    layout = doc.layouts.get("Layout1")
    layout.add_line((0, 0), (297, 210), dxfattribs={"layer": "WALLS"})
    layout.add_text("Sheet title", dxfattribs={"insert": (10, 10), "height": 5})
    layout.add_circle((150, 100), 20)


def add_others(msp):
    # Kinds vtcad does not interpret: kept as they are and written back.
    msp.add_solid([(0, 0), (1, 0), (0, 1), (1, 1)])
    msp.add_3dface([(0, 0, 0), (1, 0, 1), (1, 1, 0), (0, 1, 1)])
    msp.add_xline((0, 0), (1, 1))
    msp.add_ray((5, 5), (0, 1))
    dim = msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(10, 0))
    dim.render()
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]
        data.faces = [(0, 1, 2, 3)]


def write(doc, outdir, name):
    path = os.path.join(outdir, name)
    doc.saveas(path)
    return path


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_ezdxf_drawings.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    written = []
    for version, codepage in (("R12", None), ("R12", "gbk")):
        doc = new_drawing(version, codepage)
        msp = doc.modelspace()
        add_basic_curves(msp)
        add_old_polylines(msp)
        add_texts(doc, msp)
        add_blocks(doc, msp)
        add_data(msp)
        add_paper_space(doc)
        suffix = "_gbk" if codepage else ""
        written.append(write(doc, outdir, f"r12_all{suffix}.dxf"))
    themes = {
        "curves": lambda doc, msp: (add_basic_curves(msp), add_modern_curves(doc, msp)),
        "polylines": lambda doc, msp: (add_lwpolylines(msp), add_old_polylines(msp)),
        "texts": lambda doc, msp: (add_texts(doc, msp), add_mtexts(msp)),
        "blocks": lambda doc, msp: add_blocks(doc, msp),
        "hatches": lambda doc, msp: add_hatches(msp),
        "others": lambda doc, msp: add_others(msp),
    }
    everything = new_drawing("R2013")
    for theme, build in themes.items():
        doc = new_drawing("R2013")
        msp = doc.modelspace()
        build(doc, msp)
        add_data(msp)
        add_extension_dictionaries(doc, msp)
        written.append(write(doc, outdir, f"r2013_{theme}.dxf"))
        if theme != "others":
            build(everything, everything.modelspace())
    add_data(everything.modelspace())
    add_extension_dictionaries(everything, everything.modelspace())
    add_paper_space(everything)
    written.append(write(everything, outdir, "r2013_all.dxf"))
    for path in written:
        print(path)


if __name__ == "__main__":
    main()
