// Curves sampled through the curve interface (one walk for every curve kind), texts through
// their bounding box and multiline texts through their layout, as the renderer places glyphs.
#include "commands/EntityShapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "render/TextGlyphs.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace vtcad::commands {
namespace {

// Blocks that hold themselves are followed this deep and no deeper.
constexpr int kMostBlockNesting = 32;
// Halvings of one piece at most: 2^16 chords for a piece is far below any tolerance asked.
constexpr int kMostHalvings = 16;
// Even pieces a curve without vertices starts from (enough for the turns of a spline span).
constexpr int kFirstPieces = 32;

double distanceToChord(const ZcGePoint3d& p, const ZcGePoint3d& a, const ZcGePoint3d& b) {
  const ZcGeVector3d ab = b - a;
  const double length2 = ab.dotProduct(ab);
  if (!(length2 > 0.0)) return p.distanceTo(a);
  const double t = std::clamp((p - a).dotProduct(ab) / length2, 0.0, 1.0);
  return p.distanceTo(a + ab * t);
}

class Walker {
 public:
  Walker(double tolerance, EntityShapes& out) : tolerance_(tolerance), out_(out) {}

  void walk(ZcDbObjectId id, const ZcGeMatrix3d& xform, int depth) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return;
    // Blocks are walked after the reference is closed: their entities open on their own.
    ZcDbObjectId blockId;
    ZcGeMatrix3d inner;
    bool gave = false;
    if (const ZcDbBlockReference* ref = ZcDbBlockReference::cast(entity)) {
      blockId = ref->blockTableRecord();
      inner = xform * ref->blockTransform();
    } else if (const ZcDbText* text = ZcDbText::cast(entity)) {
      gave = textShapes(*text, xform);
    } else if (const ZcDbMText* mtext = ZcDbMText::cast(entity)) {
      gave = mtextShapes(*mtext, xform);
    } else if (const ZcDbCurve* curve = ZcDbCurve::cast(entity)) {
      gave = curveShape(*curve, xform);
    }
    entity->close();
    if (gave) ++out_.entities;
    if (blockId.isNull() || depth + 1 > kMostBlockNesting) return;
    ZcDbBlockTableRecord* block = nullptr;
    if (zcdbOpenObject(block, blockId, ZcDb::kForRead) != Zcad::eOk) return;
    const std::vector<ZcDbObjectId> ids = block->entityIds();
    block->close();
    const std::size_t before = out_.paths.size() + out_.fills.size();
    const long counted = out_.entities;
    for (const ZcDbObjectId& each : ids) walk(each, inner, depth + 1);
    // A reference counts once, with everything its block gave.
    out_.entities = counted + (out_.paths.size() + out_.fills.size() > before ? 1 : 0);
  }

 private:
  bool pointAt(const ZcDbCurve& curve, double t, ZcGePoint3d& p) const {
    if (curve.getPointAtParam(t, p) != Zcad::eOk) return false;
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
  }

  // Appends the points after `a` up to and including `b`, halving while a chord strays.
  void refine(const ZcDbCurve& curve, double t0, double t1, const ZcGePoint3d& a, const ZcGePoint3d& b,
              std::vector<ZcGePoint3d>& points, int depth) const {
    bool straight = depth >= kMostHalvings;
    ZcGePoint3d mid;
    if (!straight) {
      ZcGePoint3d q1, q3;
      const bool ok = pointAt(curve, (t0 + t1) / 2, mid) && pointAt(curve, t0 + (t1 - t0) / 4, q1) &&
                      pointAt(curve, t0 + 3 * (t1 - t0) / 4, q3);
      straight = !ok || (distanceToChord(mid, a, b) <= tolerance_ &&
                         distanceToChord(q1, a, b) <= tolerance_ && distanceToChord(q3, a, b) <= tolerance_);
    }
    if (straight) {
      points.push_back(b);
      return;
    }
    const double tm = (t0 + t1) / 2;
    refine(curve, t0, tm, a, mid, points, depth + 1);
    refine(curve, tm, t1, mid, b, points, depth + 1);
  }

  bool curveShape(const ZcDbCurve& curve, const ZcGeMatrix3d& xform) {
    double start = 0.0, end = 0.0;
    if (curve.getStartParam(start) != Zcad::eOk || curve.getEndParam(end) != Zcad::eOk) return false;
    if (!std::isfinite(start) || !std::isfinite(end) || !(end >= start)) return false;
    // Polylines are cut at their vertices (whole parameters), a line needs no cut at all.
    std::vector<double> breaks;
    const bool vertexed =
        ZcDbPolyline::cast(&curve) || ZcDb2dPolyline::cast(&curve) || ZcDb3dPolyline::cast(&curve);
    if (ZcDbLine::cast(&curve)) {
      breaks = {start, end};
    } else if (vertexed) {
      for (double t = start; t < end; t += 1.0) breaks.push_back(t);
      breaks.push_back(end);
    } else {
      for (int i = 0; i <= kFirstPieces; ++i) breaks.push_back(start + (end - start) * i / kFirstPieces);
    }
    ShapePath path;
    ZcGePoint3d previous;
    if (!pointAt(curve, breaks.front(), previous)) return false;
    path.points.push_back(previous);
    for (std::size_t i = 1; i < breaks.size(); ++i) {
      ZcGePoint3d next;
      if (!pointAt(curve, breaks[i], next)) continue;
      if (ZcDbLine::cast(&curve)) {
        path.points.push_back(next);
      } else {
        refine(curve, breaks[i - 1], breaks[i], previous, next, path.points, /*depth=*/0);
      }
      previous = next;
    }
    if (path.points.size() < 2) return false;
    path.closed = curve.isClosed();
    // A closed curve's last point is its first: the closing chord is the path's own.
    if (path.closed && path.points.front().isEqualTo(path.points.back())) path.points.pop_back();
    for (ZcGePoint3d& p : path.points) p.transformBy(xform);
    out_.paths.push_back(std::move(path));
    return true;
  }

  bool textShapes(const ZcDbText& text, const ZcGeMatrix3d& xform) {
    const std::optional<render::TextGlyphFrame> frame = render::textGlyphFrame(text);
    if (!frame) return false;
    ShapeFill fill;
    render::forEachGlyphContour(*frame, [&](const std::vector<ZcGePoint2d>& contour, double pen) {
      std::vector<ZcGePoint3d>& ring = fill.contours.emplace_back();
      ring.reserve(contour.size());
      for (const ZcGePoint2d& p : contour) ring.push_back(frame->at(pen + p.x, p.y).transformBy(xform));
    });
    if (fill.contours.empty()) return false;
    out_.fills.push_back(std::move(fill));
    return true;
  }

  // All characters of a multiline text as one fill, placed as the renderer places them.
  bool mtextShapes(const ZcDbMText& mtext, const ZcGeMatrix3d& xform) {
    ShapeFill fill;
    render::GlyphOutlines& outlines = render::GlyphOutlines::instance();
    for (const render::PlacedGlyph& glyph : render::mtextGlyphs(mtext)) {
      for (const std::vector<ZcGePoint2d>& contour : outlines.shape(glyph.font, glyph.ch)) {
        std::vector<ZcGePoint3d>& ring = fill.contours.emplace_back();
        ring.reserve(contour.size());
        for (const ZcGePoint2d& p : contour) ring.push_back(glyph.at(p.x, p.y).transformBy(xform));
      }
    }
    if (fill.contours.empty()) return false;
    out_.fills.push_back(std::move(fill));
    return true;
  }

  double tolerance_;
  EntityShapes& out_;
};

}  // namespace

EntityShapes shapesOfEntities(const std::vector<ZcDbObjectId>& ids, double chordTolerance) {
  EntityShapes shapes;
  Walker walker(chordTolerance, shapes);
  for (const ZcDbObjectId& id : ids) walker.walk(id, ZcGeMatrix3d::kIdentity, /*depth=*/0);
  return shapes;
}

}  // namespace vtcad::commands
