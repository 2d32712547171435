#!/usr/bin/env python3
"""Checks a drawing vtcad saved against the drawing it opened, with ezdxf as the judge.

Usage: ezdxf_check.py ORIGINAL.dxf RESAVED.dxf

1. ezdxf loads RESAVED and its audit finds no errors (the fixes it makes are counted and
   reported; a writer may leave things ezdxf tidies, but nothing it has to throw away).
2. Block by block (model space and paper space included) both drawings hold the same
   entities in the same order, with the same key data within a relative tolerance of 1e-9:
   geometry, text, block names, layers, colours, extended data, extension dictionaries.
   Table entries (layers, linetypes, text styles) and block definitions of ORIGINAL are
   in RESAVED with the same properties, and RESAVED has no block that ORIGINAL lacks.

Prints one line per difference (at most MAX_DIFFERENCES) and exits 1 when there is any.
"""
import math
import os
import re
import sys

import ezdxf
from ezdxf.math import BSpline, Vec3

TOLERANCE = 1e-9
MAX_DIFFERENCES = 25
TAU = 2.0 * math.pi


class Differences(Exception):
    """Raised when enough differences have been found to stop looking."""


class Report:
    def __init__(self):
        self.lines = []

    def add(self, where, what):
        self.lines.append(f"{where}: {what}")
        if len(self.lines) >= MAX_DIFFERENCES:
            raise Differences()


def close(a, b, scale=None):
    scale = max(1.0, abs(a), abs(b)) if scale is None else max(1.0, scale)
    return abs(a - b) <= TOLERANCE * scale


def as_tuple(value):
    if value is None:
        return None
    return tuple(float(c) for c in value)


def close_vector(a, b):
    a, b = as_tuple(a), as_tuple(b)
    if a is None or b is None:
        return a == b
    # R12 points may come with two coordinates where the rewrite has three.
    width = max(len(a), len(b))
    a, b = a + (0.0,) * (width - len(a)), b + (0.0,) * (width - len(b))
    scale = max(abs(c) for c in a + b) if width else 0.0
    return all(close(x, y, scale) for x, y in zip(a, b))


def close_angle(a, b, full_turn):
    d = math.fmod(float(a) - float(b), full_turn)
    d = min(abs(d), full_turn - abs(d))
    return d <= TOLERANCE * max(1.0, abs(a), abs(b))


UNICODE_ESCAPE = re.compile(r"\\U\+([0-9A-Fa-f]{4})")


def same_text(a, b):
    # ezdxf leaves the \U+XXXX escapes of R12 files in the string; vtcad resolves them.
    def decode(s):
        return UNICODE_ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), str(s or ""))

    return decode(a) == decode(b)


def compare_value(report, where, name, kind, a, b):
    if a is None or b is None:
        ok = a is b
    elif kind == "v":
        ok = close_vector(a, b)
    elif kind == "f":
        ok = close(float(a), float(b))
    elif kind == "deg":
        ok = close_angle(a, b, 360.0)
    elif kind == "rad":
        ok = close_angle(a, b, TAU)
    elif kind == "s":
        ok = same_text(a, b)
    elif kind == "name":  # symbol table names are case-insensitive
        ok = (a or "").lower() == (b or "").lower()
    elif kind == "vs":
        ok = len(a) == len(b) and all(close_vector(x, y) for x, y in zip(a, b))
    elif kind == "fs":
        scale = max([abs(x) for x in list(a) + list(b)] or [0.0])
        ok = len(a) == len(b) and all(close(float(x), float(y), scale) for x, y in zip(a, b))
    else:
        ok = a == b
    if not ok:
        report.add(where, f"{name} {fmt(a)} != {fmt(b)}")


def fmt(value):
    if isinstance(value, float):
        return repr(value)
    if isinstance(value, (list, tuple)) and len(value) > 6:
        return f"[{len(value)} items: {', '.join(fmt(v) for v in value[:4])}, ...]"
    if isinstance(value, (list, tuple)):
        return "(" + ", ".join(fmt(v) for v in value) + ")"
    return repr(value)


def attr(entity, name):
    return entity.dxf.get(name, entity.dxf.get_default(name))


def compare_attrs(report, where, a, b, fields):
    for name, kind in fields:
        compare_value(report, where, name, kind, attr(a, name), attr(b, name))


COMMON = [("layer", "name"), ("color", "i"), ("linetype", "name")]
EXTRUSION = [("extrusion", "v")]
FIELDS = {
    "LINE": [("start", "v"), ("end", "v"), ("thickness", "f")] + EXTRUSION,
    "POINT": [("location", "v")] + EXTRUSION,
    "CIRCLE": [("center", "v"), ("radius", "f")] + EXTRUSION,
    "ARC": [("center", "v"), ("radius", "f"), ("start_angle", "deg"), ("end_angle", "deg")] + EXTRUSION,
    "ELLIPSE": [("center", "v"), ("major_axis", "v"), ("ratio", "f")] + EXTRUSION,
    "INSERT": [
        ("name", "s"),
        ("insert", "v"),
        ("xscale", "f"),
        ("yscale", "f"),
        ("zscale", "f"),
        ("rotation", "deg"),
        ("row_count", "i"),
        ("column_count", "i"),
    ]
    + EXTRUSION,
    "LWPOLYLINE": [("const_width", "f"), ("elevation", "f")] + EXTRUSION,
    "MTEXT": [("insert", "v"), ("char_height", "f"), ("attachment_point", "i"), ("style", "name")]
    + EXTRUSION,
    "HELIX": [
        ("axis_base_point", "v"),
        ("start_point", "v"),
        ("axis_vector", "v"),
        ("radius", "f"),
        ("turns", "f"),
        ("turn_height", "f"),
        ("handedness", "i"),
    ],
}


def compare_ellipse(report, where, a, b):
    # A full ellipse may be written as 0..2pi or as any start with a sweep of 2pi.
    def sweep(e):
        s = math.fmod(e.dxf.end_param - e.dxf.start_param, TAU)
        return s + TAU if s <= TOLERANCE else s

    compare_value(report, where, "start_param", "rad", a.dxf.start_param, b.dxf.start_param)
    compare_value(report, where, "sweep", "f", sweep(a), sweep(b))


def nurbs(entity):
    weights = list(entity.weights) or None
    return BSpline(
        list(entity.control_points), order=entity.dxf.degree + 1, knots=list(entity.knots), weights=weights
    )


def distance_to_curve(curve, point, samples):
    # Nearest sample, then a ternary search between its neighbours.
    lo, hi = curve.knots()[0], curve.knots()[-1]
    params = [lo + (hi - lo) * i / samples for i in range(samples + 1)]
    best = min(range(len(params)), key=lambda i: curve.point(params[i]).distance(point))
    a, b = params[max(best - 1, 0)], params[min(best + 1, samples)]
    for _ in range(80):
        m1, m2 = a + (b - a) / 3, b - (b - a) / 3
        if curve.point(m1).distance(point) < curve.point(m2).distance(point):
            b = m2
        else:
            a = m1
    return curve.point((a + b) / 2).distance(point)


def compare_spline(report, where, a, b):
    compare_value(report, where, "degree", "i", a.dxf.degree, b.dxf.degree)
    # Closed, periodic, rational; planarity and linearity are derived.
    compare_value(report, where, "flags&7", "i", a.dxf.flags & 7, b.dxf.flags & 7)
    compare_value(report, where, "fit points", "vs", list(a.fit_points), list(b.fit_points))
    for name in ("start_tangent", "end_tangent"):
        if a.dxf.hasattr(name):
            compare_value(report, where, name, "v", a.dxf.get(name), b.dxf.get(name))
    if not len(a.control_points):
        # A spline given by fit points alone: the writer adds the control points, which must
        # make a curve through the fit points.
        if not len(b.control_points):
            report.add(where, "no control points written for a spline by fit points")
            return
        curve = nurbs(b)
        size = max(Vec3(p).magnitude for p in b.control_points) or 1.0
        for i, point in enumerate(b.fit_points):
            gap = distance_to_curve(curve, Vec3(point), 400)
            if gap > 1e-6 * size:
                report.add(where, f"fit point {i} {fmt(tuple(point))} is {gap:.3g} off the written curve")
                return
        return
    compare_value(report, where, "knots", "fs", list(a.knots), list(b.knots))
    compare_value(report, where, "control points", "vs", list(a.control_points), list(b.control_points))
    wa, wb = list(a.weights), list(b.weights)
    if wa or wb:  # no weights and all weights 1 are the same curve
        wa = wa or [1.0] * len(a.control_points)
        wb = wb or [1.0] * len(b.control_points)
        compare_value(report, where, "weights", "fs", wa, wb)


def compare_helix(report, where, a, b):
    # The helix is its axis, radius, turns and pitch; the spline that goes with it is an
    # approximation each writer makes anew. The one written must stay on the helix.
    if not len(b.control_points):
        report.add(where, "no spline written for the helix")
        return
    curve = nurbs(b)
    base, axis = Vec3(b.dxf.axis_base_point), Vec3(b.dxf.axis_vector).normalize()
    radius = b.dxf.radius
    lo, hi = curve.knots()[0], curve.knots()[-1]
    for i in range(201):
        v = curve.point(lo + (hi - lo) * i / 200) - base
        off_axis = (v - axis * v.dot(axis)).magnitude
        if abs(off_axis - radius) > 1e-3 * radius:
            report.add(where, f"the written spline is {off_axis:.6g} from the axis, the radius is {radius}")
            return
    rise = (Vec3(b.control_points[-1]) - base).dot(axis) - (Vec3(b.control_points[0]) - base).dot(axis)
    compare_value(report, where, "rise of the spline", "f", rise, b.dxf.turns * b.dxf.turn_height)
    compare_value(report, where, "spline start", "v", b.control_points[0], a.dxf.start_point)


def compare_lwpolyline(report, where, a, b):
    compare_value(report, where, "closed", "i", a.closed, b.closed)
    compare_value(report, where, "vertices", "vs", list(a.get_points("xyseb")), list(b.get_points("xyseb")))


def compare_polyline(report, where, a, b):
    compare_value(report, where, "flags", "i", a.dxf.flags, b.dxf.flags)
    if a.dxf.flags & 4:
        compare_value(report, where, "smooth_type", "i", attr(a, "smooth_type"), attr(b, "smooth_type"))
    compare_value(report, where, "vertex count", "i", len(a.vertices), len(b.vertices))
    for i, (va, vb) in enumerate(zip(a.vertices, b.vertices)):
        fields = [("location", "v"), ("start_width", "f"), ("end_width", "f"), ("bulge", "f"), ("flags", "i")]
        if va.dxf.flags & 2:
            fields.append(("tangent", "deg"))
        compare_attrs(report, f"{where} vertex {i}", va, vb, fields)


def compare_text(report, where, a, b):
    compare_value(report, where, "text", "s", a.dxf.text, b.dxf.text)
    fields = [
        ("rotation", "deg"),
        ("oblique", "deg"),
        ("style", "name"),
        ("halign", "i"),
        ("valign", "i"),
        ("text_generation_flag", "i"),
        ("extrusion", "v"),
    ]
    halign, valign = attr(a, "halign"), attr(a, "valign")
    # With an alignment the point the user gave is the alignment point; the insertion point
    # is derived from it and the font (except for ALIGNED and FIT, where both are given).
    # ALIGNED derives the height from the two points, FIT the width factor.
    if halign == 0 and valign == 0 or halign in (3, 5):
        fields.append(("insert", "v"))
    if halign != 3:
        fields.append(("height", "f"))
    if halign != 5:
        fields.append(("width", "f"))
    if halign or valign:
        fields.append(("align_point", "v"))
    compare_attrs(report, where, a, b, fields)


def compare_mtext(report, where, a, b):
    compare_value(report, where, "text", "s", a.text, b.text)
    # No width and width 0 both mean no wrapping.
    compare_value(report, where, "width", "f", a.dxf.get("width", 0.0), b.dxf.get("width", 0.0))
    compare_value(report, where, "rotation", "deg", a.get_rotation(), b.get_rotation())
    spacing = "line_spacing_factor"
    compare_value(report, where, spacing, "f", attr(a, spacing), attr(b, spacing))


def edge_data(edge):
    kind = type(edge).__name__
    if kind == "LineEdge":
        return kind, [("start", "v", edge.start), ("end", "v", edge.end)]
    if kind == "ArcEdge":
        return kind, [
            ("center", "v", edge.center),
            ("radius", "f", edge.radius),
            ("start_angle", "deg", edge.start_angle),
            ("end_angle", "deg", edge.end_angle),
            ("ccw", "i", bool(edge.ccw)),
        ]
    if kind == "EllipseEdge":
        return kind, [
            ("center", "v", edge.center),
            ("major_axis", "v", edge.major_axis),
            ("ratio", "f", edge.ratio),
            ("start_angle", "deg", edge.start_angle),
            ("end_angle", "deg", edge.end_angle),
            ("ccw", "i", bool(edge.ccw)),
        ]
    if kind == "SplineEdge":
        return kind, [
            ("degree", "i", edge.degree),
            ("knots", "fs", list(edge.knot_values)),
            ("control points", "vs", list(edge.control_points)),
            ("weights", "fs", list(edge.weights)),
            ("fit points", "vs", list(edge.fit_points)),
        ]
    return kind, []


def compare_hatch(report, where, a, b):
    fields = [("pattern_name", "name"), ("solid_fill", "i"), ("hatch_style", "i"), ("elevation", "v")]
    if not a.dxf.solid_fill:
        fields += [("pattern_angle", "deg"), ("pattern_scale", "f")]
    compare_attrs(report, where, a, b, fields)
    pa, pb = list(a.paths), list(b.paths)
    compare_value(report, where, "path count", "i", len(pa), len(pb))
    for i, (x, y) in enumerate(zip(pa, pb)):
        here = f"{where} path {i}"
        compare_value(report, here, "kind", "s", type(x).__name__, type(y).__name__)
        compare_value(report, here, "flags", "i", x.path_type_flags, y.path_type_flags)
        if type(x).__name__ != type(y).__name__:
            continue
        if type(x).__name__ == "PolylinePath":
            compare_value(report, here, "closed", "i", bool(x.is_closed), bool(y.is_closed))
            compare_value(report, here, "vertices", "vs", list(x.vertices), list(y.vertices))
            continue
        compare_value(report, here, "edge count", "i", len(x.edges), len(y.edges))
        for j, (ex, ey) in enumerate(zip(x.edges, y.edges)):
            kx, dx = edge_data(ex)
            ky, dy = edge_data(ey)
            compare_value(report, f"{here} edge {j}", "kind", "s", kx, ky)
            if kx == ky:
                for (name, kind, vx), (_, _, vy) in zip(dx, dy):
                    compare_value(report, f"{here} edge {j} {kx}", name, kind, vx, vy)
    compare_value(report, where, "seeds", "vs", list(a.seeds), list(b.seeds))


def kind_of(value):
    if isinstance(value, float):
        return "f"
    if isinstance(value, str):
        return "s"
    if hasattr(value, "__len__"):
        return "v"
    return "i"


SKIPPED_ATTRIBS = {"handle", "owner", "paperspace"}
NAME_ATTRIBS = {"layer", "linetype", "style", "dimstyle", "name"}


def compare_other(report, where, a, b):
    # Kinds vtcad does not interpret are written back as read: every attribute ezdxf knows.
    for name, value in a.dxf.all_existing_dxf_attribs().items():
        if name in SKIPPED_ATTRIBS:
            continue
        other = b.dxf.get(name)
        kind = "name" if name in NAME_ATTRIBS else kind_of(value)
        if other is None:
            other = b.dxf.get_default(name)
        compare_value(report, where, name, kind, value, other)


def xdata_items(entity):
    if not entity.xdata:
        return {}
    return {app: list(tags) for app, tags in entity.xdata.data.items()}


def compare_tags(report, where, ta, tb):
    compare_value(report, where, "group count", "i", len(ta), len(tb))
    for i, (x, y) in enumerate(zip(ta, tb)):
        compare_value(report, where, f"group {i} code", "i", x.code, y.code)
        compare_value(report, where, f"group {i} ({x.code})", kind_of(x.value), x.value, y.value)


def compare_extras(report, where, a, b):
    xa, xb = xdata_items(a), xdata_items(b)
    compare_value(report, where, "xdata applications", "i", sorted(xa), sorted(xb))
    for app in sorted(set(xa) & set(xb)):
        compare_tags(report, f"{where} xdata {app}", xa[app], xb[app])
    has_a, has_b = a.has_extension_dict, b.has_extension_dict
    compare_value(report, where, "extension dictionary", "i", has_a, has_b)
    if has_a and has_b:
        compare_dictionary(report, f"{where} extension dictionary", a.get_extension_dict().dictionary,
                           b.get_extension_dict().dictionary)


def compare_dictionary(report, where, da, db):
    compare_value(report, where, "keys", "i", sorted(da.keys()), sorted(db.keys()))
    for key in sorted(set(da.keys()) & set(db.keys())):
        xa, xb = da.get(key), db.get(key)
        if xa is None or xb is None or xa.dxftype() != "XRECORD":
            continue
        compare_value(report, f"{where} {key}", "type", "s", xa.dxftype(), xb.dxftype())
        if xb.dxftype() == "XRECORD":
            compare_tags(report, f"{where} {key}", list(xa.tags), list(xb.tags))


COMPARERS = {
    "ELLIPSE": compare_ellipse,
    "SPLINE": compare_spline,
    "HELIX": compare_helix,
    "LWPOLYLINE": compare_lwpolyline,
    "POLYLINE": compare_polyline,
    "TEXT": compare_text,
    "MTEXT": compare_mtext,
    "HATCH": compare_hatch,
}


def compare_entity(report, where, a, b):
    kind = a.dxftype()
    compare_attrs(report, where, a, b, COMMON)
    known = kind in FIELDS or kind in COMPARERS
    if kind in FIELDS:
        compare_attrs(report, where, a, b, FIELDS[kind])
    if kind in COMPARERS:
        COMPARERS[kind](report, where, a, b)
    if not known:
        compare_other(report, where, a, b)
    compare_extras(report, where, a, b)


def compare_blocks(report, original, resaved):
    blocks_b = {blk.name.lower(): blk for blk in resaved.blocks}
    matched = set()
    for block_a in original.blocks:
        key = block_a.name.lower()
        if key not in blocks_b and key.startswith("$"):  # R12's $MODEL_SPACE, $PAPER_SPACE
            key = "*" + key[1:]
        block_b = blocks_b.get(key)
        if block_b is None:
            report.add(f"block {block_a.name}", "missing")
            continue
        matched.add(key)
        where = f"block {block_a.name}"
        if not block_a.is_any_layout:
            base_a, base_b = block_a.block.dxf.base_point, block_b.block.dxf.base_point
            compare_value(report, where, "base point", "v", base_a, base_b)
        ea, eb = list(block_a), list(block_b)
        ta, tb = [e.dxftype() for e in ea], [e.dxftype() for e in eb]
        if ta != tb:
            first = next((i for i, (x, y) in enumerate(zip(ta, tb)) if x != y), min(len(ta), len(tb)))
            report.add(
                where,
                f"{len(ta)} entities != {len(tb)}; first difference at #{first}: "
                f"{ta[first] if first < len(ta) else 'end'} != {tb[first] if first < len(tb) else 'end'}",
            )
        for i, (x, y) in enumerate(zip(ea, eb)):
            if x.dxftype() != y.dxftype():
                break
            compare_entity(report, f"{where} #{i} {x.dxftype()}", x, y)
    for key, block in blocks_b.items():
        if key not in matched:
            report.add(f"block {block.name}", f"not in the original drawing ({len(block)} entities)")


def compare_tables(report, original, resaved):
    for layer in original.layers:
        name = layer.dxf.name
        if not resaved.layers.has_entry(name):
            report.add(f"layer {name}", "missing")
            continue
        other = resaved.layers.get(name)
        compare_attrs(report, f"layer {name}", layer, other, [("color", "i"), ("linetype", "name")])
        compare_value(report, f"layer {name}", "exact name", "s", name, other.dxf.name)
    for ltype in original.linetypes:
        name = ltype.dxf.name
        if not resaved.linetypes.has_entry(name):
            report.add(f"linetype {name}", "missing")
            continue
        other = resaved.linetypes.get(name)
        where = f"linetype {name}"
        compare_value(report, where, "description", "s", ltype.dxf.description, other.dxf.description)
        compare_value(
            report,
            where,
            "pattern",
            "fs",
            [t.value for t in ltype.pattern_tags.tags if t.code == 49],
            [t.value for t in other.pattern_tags.tags if t.code == 49],
        )
    for style in original.styles:
        name = style.dxf.name
        if not name or not resaved.styles.has_entry(name):
            if name:
                report.add(f"text style {name}", "missing")
            continue
        fields = [("font", "s"), ("width", "f"), ("oblique", "deg")]
        compare_attrs(report, f"text style {name}", style, resaved.styles.get(name), fields)


def compare_named_objects(report, original, resaved):
    # Dictionaries of the named-objects dictionary that this test added (the others are the
    # writer's own business: layouts, groups, styles).
    for key in original.rootdict.keys():
        if key.startswith("VTCAD_"):
            if key not in resaved.rootdict:
                report.add(f"named object {key}", "missing")
                continue
            compare_dictionary(report, f"named object {key}", original.rootdict[key], resaved.rootdict[key])


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: ezdxf_check.py ORIGINAL.dxf RESAVED.dxf")
    original_path, resaved_path = sys.argv[1:]
    original = ezdxf.readfile(original_path)
    try:
        resaved = ezdxf.readfile(resaved_path)
    except (ezdxf.DXFError, OSError, UnicodeDecodeError) as error:
        print(f"{resaved_path}: ezdxf cannot load it: {error}")
        return 1
    auditor = resaved.audit()
    report = Report()
    for error in auditor.errors:
        report.lines.append(f"audit error {error.code}: {error.message}")
    try:
        compare_blocks(report, original, resaved)
        compare_tables(report, original, resaved)
        compare_named_objects(report, original, resaved)
    except Differences:
        report.lines.append("(more differences not shown)")
    status = "FAIL" if report.lines else "ok"
    name = os.path.basename(original_path)
    print(f"{status} {name}: audit {len(auditor.errors)} errors, {len(auditor.fixes)} fixes")
    for fix in auditor.fixes:
        print(f"  audit fix {fix.code}: {fix.message}")
    for line in report.lines:
        print(f"  {line}")
    return 1 if report.lines else 0


if __name__ == "__main__":
    sys.exit(main())
