// The walk over the current space: each entity's layer and colour resolved, its box tested
// against the picture, its geometry handed to the painters; block references drawn through
// their definitions with the combined transform.
#include "render/DrawingRenderer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "render/CurvePainter.h"
#include "render/GridPainter.h"
#include "render/HatchPainter.h"
#include "render/LayerStyles.h"
#include "render/LinetypeStyles.h"
#include "render/PointSymbol.h"
#include "render/Projection.h"
#include "render/SpaceIndex.h"
#include "render/TextPainter.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGeCurve3d.h"

namespace vtcad::render {
namespace {

// Blocks that hold themselves (directly or not) are drawn this deep and no deeper.
constexpr int kMostBlockNesting = 32;
// Pixels beyond the picture's edge an entity's box may end and still be drawn (wide pens).
constexpr double kCullMargin = 16.0;
// An entity whose box is smaller than this many pixels both ways is drawn as a dot of its
// colour: its shape cannot be told from one.
constexpr double kDotSize = 1.0;
// A dash pattern whose repetition is shorter than this many pixels is drawn as a continuous
// line: its dashes and gaps could not be told apart.
constexpr double kFinestPatternPx = 4.0;
// Circles up to this radius in pixels are written as rings (a test per pixel of their box)
// rather than as chords: below it the box has fewer pixels than the chords' capsules.
constexpr double kLargestRingPx = 4.0;
// How far a projected circle's axes may differ in length or from a right angle (relative) and
// still be drawn as a ring.
constexpr double kRoundness = 1e-3;
// The grid's dots: a grey that shows on dark and light backgrounds alike.
constexpr Rgb kGridColor{128, 128, 128};

// What a block reference passes to the entities of its block.
struct Inherited {
  bool inBlock = false;
  Rgb byBlock;                                           // the colour of ByBlock entities
  ZcDbObjectId layer;                                    // the layer of entities on layer "0"
  const Linetype* linetype = nullptr;                    // of ByBlock entities; null: continuous
  ZcDb::LineWeight lineWeight = ZcDb::kLnWtByLwDefault;  // of ByBlock entities
};

// An object coordinate system's matrix: the normal's arbitrary-axis plane at `elevation`.
ZcGeMatrix3d ocsAt(const ZcGeVector3d& normal, double elevation,
                   const ZcGePoint3d& origin = ZcGePoint3d::kOrigin) {
  return ZcGeMatrix3d::translation(origin.asVector()) * ZcGeMatrix3d::planeToWorld(normal) *
         ZcGeMatrix3d::translation(ZcGeVector3d(0.0, 0.0, elevation));
}

// `toPixel` after an object coordinate system: for the usual normal (the z axis, whose
// arbitrary-axis plane is the world's own) a shift, without the matrix products.
Projection inPlaneOf(const Projection& toPixel, const ZcGeVector3d& normal, double elevation,
                     const ZcGePoint3d& origin = ZcGePoint3d::kOrigin) {
  if (normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0)
    return toPixel.shiftedBy(ZcGeVector3d(origin.x, origin.y, origin.z + elevation));
  return toPixel.after(ocsAt(normal, elevation, origin));
}

// What drawEntity does with an entity: the first of the classes below it is kind of.
enum class EntityKind {
  kBlockReference,
  kLine,
  kCircle,
  kArc,
  kEllipse,
  kPolyline,
  kPolyline2d,
  kPolyline3d,
  kPoint,
  kHatch,
  kText,
  kMText,
  kCurve,
  kOther
};

EntityKind kindOfClass(const ZcDbEntity& entity) {
  if (ZcDbBlockReference::cast(&entity)) return EntityKind::kBlockReference;
  if (ZcDbLine::cast(&entity)) return EntityKind::kLine;
  if (ZcDbCircle::cast(&entity)) return EntityKind::kCircle;
  if (ZcDbArc::cast(&entity)) return EntityKind::kArc;
  if (ZcDbEllipse::cast(&entity)) return EntityKind::kEllipse;
  if (ZcDbPolyline::cast(&entity)) return EntityKind::kPolyline;
  if (ZcDb2dPolyline::cast(&entity)) return EntityKind::kPolyline2d;
  if (ZcDb3dPolyline::cast(&entity)) return EntityKind::kPolyline3d;
  if (ZcDbPoint::cast(&entity)) return EntityKind::kPoint;
  if (ZcDbHatch::cast(&entity)) return EntityKind::kHatch;
  if (ZcDbText::cast(&entity)) return EntityKind::kText;
  if (ZcDbMText::cast(&entity)) return EntityKind::kMText;
  if (ZcDbCurve::cast(&entity)) return EntityKind::kCurve;
  return EntityKind::kOther;
}

class Renderer {
 public:
  Renderer(ZcDbDatabase* db, const editor::ViewTransform& view, Canvas& canvas, const RenderOptions& options)
      : db_(db),
        view_(view),
        canvas_(canvas),
        options_(options),
        foreground_(foregroundOn(options.background)),
        layers_(foreground_) {}

  RenderStats run() {
    canvas_.clear(options_.background);
    paintGrid(canvas_, view_, options_.grid, kGridColor);
    if (db_) {
      pdmode_ = db_->pdmode();
      pdsize_ = db_->pdsize();
      lines_ = lineSettingsOf(db_);
      drawSpace(db_->currentSpaceId(), Projection(view_));
    }
    canvas_.flush();
    return stats_;
  }

 private:
  // The current space through its box tree: only entities whose box meets the picture are
  // opened, in drawing order; those smaller than a pixel are dots.
  void drawSpace(ZcDbObjectId spaceId, const Projection& toPixel) {
    const SpaceIndex& index = spaceIndexOf(db_, spaceId);
    const db::Box2d picture = pictureBox();
    const std::optional<db::Box2d> plan = toPixel.planBoxOf(picture);
    const auto& entities = index.entities();
    std::vector<int> all;
    if (!plan) {
      // Not a plan view: every entity's projected box is tested on its own.
      all.resize(entities.size());
      for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    }
    const std::vector<int> hits = plan ? index.overlapping(*plan) : std::move(all);
    stats_.culled += static_cast<long>(entities.size() - hits.size());
    for (int i : hits) {
      const IndexedEntity& indexed = entities[static_cast<std::size_t>(i)];
      if (options_.only && !options_.only->count(indexed.id)) continue;
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, indexed.id, ZcDb::kForRead) != Zcad::eOk) continue;
      if (!indexed.box.isEmpty() && kindOf(*entity) != EntityKind::kPoint) {
        const db::Box2d px = toPixel.boxOf(indexed.box.minPoint(), indexed.box.maxPoint());
        if (!px.overlaps(picture)) {
          cull();
        } else if (px.xmax - px.xmin < kDotSize && px.ymax - px.ymin < kDotSize) {
          drawDot(*entity, ZcGePoint2d(0.5 * (px.xmin + px.xmax), 0.5 * (px.ymin + px.ymax)));
        } else {
          drawEntity(*entity, toPixel, Inherited{}, /*depth=*/0);
        }
      } else {
        drawEntity(*entity, toPixel, Inherited{}, /*depth=*/0);
      }
      entity->close();
    }
  }

  // A model-space entity too small to show its shape: a dot of its colour where it is.
  void drawDot(const ZcDbEntity& entity, const ZcGePoint2d& at) {
    if (entity.visibility() == ZcDb::kInvisible) return;
    const LayerStyle& layer = layers_.of(entity.layerId());
    if (!layer.shown) return;
    canvas_.setPen({colorOf(entity, layer, Inherited{}), Canvas::kThinWidth});
    setPattern(nullptr, 0.0);
    canvas_.moveTo(at);
    canvas_.lineTo(at);
    ++stats_.drawn;
  }

  void drawBlock(ZcDbObjectId blockId, const Projection& toPixel, const Inherited& inherited, int depth) {
    ZcDbBlockTableRecord* block = nullptr;
    if (zcdbOpenObject(block, blockId, ZcDb::kForRead) != Zcad::eOk) return;
    // A copy: drawing may open other blocks, and this one should not stay open meanwhile.
    const std::vector<ZcDbObjectId> ids = block->entityIds();
    block->close();
    for (const ZcDbObjectId& id : ids) {
      if (depth == 0 && options_.only && !options_.only->count(id)) continue;
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
      drawEntity(*entity, toPixel, inherited, depth);
      entity->close();
    }
  }

  Rgb colorOf(const ZcDbEntity& entity, const LayerStyle& layer, const Inherited& inherited) const {
    const ZcCmColor color = entity.color();
    if (color.isByLayer()) return layer.color;
    if (color.isByBlock()) return inherited.inBlock ? inherited.byBlock : foreground_;
    if (color.isByColor()) return Rgb::fromPacked(color.trueColorValue());
    if (color.isByACI() && color.colorIndex() != 7) return aciColor(color.colorIndex());
    return foreground_;
  }

  // A colour an MText's contents give some of its characters: a true colour (COLORREF layout),
  // or an index with ByBlock (0) and ByLayer (256) resolved as for entities.
  Rgb inlineColor(int colorIndex, long trueColor, const LayerStyle& layer, const Inherited& inherited) const {
    if (trueColor >= 0)
      return Rgb{static_cast<unsigned char>(trueColor & 0xFF),
                 static_cast<unsigned char>((trueColor >> 8) & 0xFF),
                 static_cast<unsigned char>((trueColor >> 16) & 0xFF)};
    if (colorIndex == 256) return layer.color;
    if (colorIndex == 0) return inherited.inBlock ? inherited.byBlock : foreground_;
    if (colorIndex == 7) return foreground_;
    return aciColor(colorIndex);
  }

  // The pixel box of a box in the projection's coordinates, tested against the picture.
  bool boxVisible(const ZcDbExtents& box, const Projection& toPixel) const {
    // A box with a non-finite corner fails every comparison: it is left out.
    return !box.isEmpty() && toPixel.boxOf(box.minPoint(), box.maxPoint()).overlaps(pictureBox());
  }

  // The picture and the margin within which an entity's box may end and still be drawn.
  db::Box2d pictureBox() const {
    return {-kCullMargin, -kCullMargin, canvas_.width() + kCullMargin, canvas_.height() + kCullMargin};
  }

  // A circle's box in pixels (its centre and its radius grown by the projection's largest
  // factor) tested against the picture: no trigonometry for what is out of sight.
  bool discVisible(const ZcGePoint3d& center, double radius, const Projection& toPixel) const {
    const ZcGePoint2d c = toPixel(center);
    const double r = radius * toPixel.maxScale() + kCullMargin;
    return c.x + r >= 0.0 && c.y + r >= 0.0 && c.x - r <= canvas_.width() && c.y - r <= canvas_.height();
  }

  // The box of a block's entities in its own coordinates, worked out once per picture.
  const ZcDbExtents& blockBox(ZcDbObjectId blockId) {
    const auto found = blockBoxes_.find(blockId);
    if (found != blockBoxes_.end()) return found->second;
    ZcDbExtents box;
    ZcDbBlockTableRecord* block = nullptr;
    if (zcdbOpenObject(block, blockId, ZcDb::kForRead) == Zcad::eOk) {
      const std::vector<ZcDbObjectId> ids = block->entityIds();
      block->close();
      for (const ZcDbObjectId& id : ids) {
        ZcDbEntity* entity = nullptr;
        if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
        ZcDbExtents part;
        if (entity->getGeomExtents(part) == Zcad::eOk) box.addExt(part);
        entity->close();
      }
    }
    return blockBoxes_.emplace(blockId, box).first->second;
  }

  void drawEntity(const ZcDbEntity& entity, const Projection& toPixel, const Inherited& inherited,
                  int depth) {
    if (entity.visibility() == ZcDb::kInvisible) return;
    const LayerStyle* layer = &layers_.of(entity.layerId());
    ZcDbObjectId layerId = entity.layerId();
    if (inherited.inBlock && layer->isZero) {
      layerId = inherited.layer;
      layer = &layers_.of(layerId);
    }
    if (!layer->shown) return;
    const Rgb color = colorOf(entity, *layer, inherited);
    const Linetype* linetype = linetypeOf(entity, *layer, inherited);
    const ZcDb::LineWeight weight = lineWeightOf(entity, *layer, inherited);

    const EntityKind kind = kindOf(entity);
    if (kind == EntityKind::kBlockReference) {
      const auto* ref = static_cast<const ZcDbBlockReference*>(&entity);
      if (depth + 1 > kMostBlockNesting) return;
      const ZcDbObjectId blockId = ref->blockTableRecord();
      const Projection inner = toPixel.after(ref->blockTransform());
      if (!boxVisible(blockBox(blockId), inner)) return cull();
      ++stats_.drawn;
      drawBlock(blockId, inner, Inherited{true, color, layerId, linetype, weight}, depth + 1);
      return;
    }

    canvas_.setPen({color, lineweightPixels(weight, lines_)});
    // Dashes belong to curves; points, texts and hatches draw their own way.
    const bool dashable = kind != EntityKind::kPoint && kind != EntityKind::kText &&
                          kind != EntityKind::kMText && kind != EntityKind::kHatch;
    setPattern(dashable ? linetype : nullptr,
               entity.linetypeScale() * lines_.ltscale * toPixel.maxScale() / std::sqrt(2.0));
    if (kind == EntityKind::kLine) {
      const auto* line = static_cast<const ZcDbLine*>(&entity);
      // The canvas clips what is out of sight: a line needs no box test of its own.
      canvas_.moveTo(toPixel(line->startPoint()));
      canvas_.lineTo(toPixel(line->endPoint()));
      ++stats_.drawn;
    } else if (kind == EntityKind::kCircle) {
      const auto* circle = static_cast<const ZcDbCircle*>(&entity);
      if (!discVisible(circle->center(), circle->radius(), toPixel)) return cull();
      const Projection inPlane = inPlaneOf(toPixel, circle->normal(), 0.0, circle->center());
      if (!smallRing(inPlane, circle->radius())) {
        strokeArc(canvas_, inPlane, ZcGePoint2d(0, 0), circle->radius(), 0.0, 2.0 * M_PI);
        canvas_.closePath();
      }
      ++stats_.drawn;
    } else if (kind == EntityKind::kArc) {
      const auto* arc = static_cast<const ZcDbArc*>(&entity);
      if (!discVisible(arc->center(), arc->radius(), toPixel)) return cull();
      double start = 0.0, end = 0.0;
      if (arc->getStartParam(start) != Zcad::eOk || arc->getEndParam(end) != Zcad::eOk) return;
      strokeArc(canvas_, inPlaneOf(toPixel, arc->normal(), 0.0, arc->center()), ZcGePoint2d(0, 0),
                arc->radius(), start, end - start);
      ++stats_.drawn;
    } else if (kind == EntityKind::kEllipse) {
      drawEllipse(static_cast<const ZcDbEllipse&>(entity), toPixel);
    } else if (kind == EntityKind::kPolyline) {
      drawPolyline(static_cast<const ZcDbPolyline&>(entity), toPixel, color);
    } else if (kind == EntityKind::kPolyline2d) {
      draw2dPolyline(static_cast<const ZcDb2dPolyline&>(entity), toPixel, color);
    } else if (kind == EntityKind::kPolyline3d) {
      draw3dPolyline(static_cast<const ZcDb3dPolyline&>(entity), toPixel);
    } else if (kind == EntityKind::kPoint) {
      const auto* point = static_cast<const ZcDbPoint*>(&entity);
      const double size = pointSymbolSize(pdsize_, canvas_.height(), toPixel.maxScale() / std::sqrt(2.0));
      paintPointSymbol(canvas_, toPixel(point->position()), pdmode_, size);
      ++stats_.drawn;
    } else if (kind == EntityKind::kHatch) {
      const auto* hatch = static_cast<const ZcDbHatch*>(&entity);
      ZcDbExtents box;
      if (hatch->getGeomExtents(box) != Zcad::eOk || !boxVisible(box, toPixel)) return cull();
      paintHatch(canvas_, toPixel, *hatch, color);
      ++stats_.drawn;
    } else if (kind == EntityKind::kText) {
      const auto* text = static_cast<const ZcDbText*>(&entity);
      ZcDbExtents box;
      if (text->getGeomExtents(box) != Zcad::eOk || !boxVisible(box, toPixel)) return cull();
      paintText(canvas_, toPixel, *text, color);
      ++stats_.drawn;
    } else if (kind == EntityKind::kMText) {
      const auto* mtext = static_cast<const ZcDbMText*>(&entity);
      ZcDbExtents box;
      if (mtext->getGeomExtents(box) != Zcad::eOk || !boxVisible(box, toPixel)) return cull();
      paintMText(canvas_, toPixel, *mtext, color, [&](int colorIndex, long trueColor) {
        return inlineColor(colorIndex, trueColor, *layer, inherited);
      });
      ++stats_.drawn;
    } else if (kind == EntityKind::kCurve) {
      drawCurve(static_cast<const ZcDbCurve&>(entity), toPixel);
    }
  }

  void cull() { ++stats_.culled; }

  // The kind of an entity's class, worked out once per class and picture: each cast walks the
  // class tree, and an entity took up to a dozen of them. (A class, once registered, keeps its
  // address for the process's life, so the addresses are safe keys.)
  EntityKind kindOf(const ZcDbEntity& entity) {
    const ZcRxClass* cls = entity.isA();
    if (cls == lastClass_) return lastKind_;
    EntityKind kind = EntityKind::kOther;
    const auto known =
        std::find_if(kinds_.begin(), kinds_.end(), [cls](const auto& k) { return k.first == cls; });
    if (known != kinds_.end()) {
      kind = known->second;
    } else {
      kind = kindOfClass(entity);
      kinds_.emplace_back(cls, kind);
    }
    lastClass_ = cls;
    lastKind_ = kind;
    return kind;
  }

  // A circle of at most kLargestRingPx pixels' radius that stays a circle in the picture (its
  // plane faces the view), written as a ring at once; false when it is to be stroked.
  bool smallRing(const Projection& inPlane, double radius) {
    const ZcGePoint2d c = inPlane(0.0, 0.0), ex = inPlane(radius, 0.0), ey = inPlane(0.0, radius);
    const double ax = ex.x - c.x, ay = ex.y - c.y, bx = ey.x - c.x, by = ey.y - c.y;
    const double ra = std::hypot(ax, ay), rb = std::hypot(bx, by);
    if (!(ra <= kLargestRingPx) || std::fabs(ra - rb) > kRoundness * ra ||
        std::fabs(ax * bx + ay * by) > kRoundness * ra * rb) {
      return false;
    }
    return canvas_.ring(c, 0.5 * (ra + rb));
  }

  // The linetype an entity is drawn with (null: continuous).
  const Linetype* linetypeOf(const ZcDbEntity& entity, const LayerStyle& layer, const Inherited& inherited) {
    const Linetype* own = &linetypes_.of(entity.linetypeId());
    if (own->kind == Linetype::Kind::kByLayer) own = &linetypes_.of(layer.linetypeId);
    if (own->kind == Linetype::Kind::kByBlock) return inherited.inBlock ? inherited.linetype : nullptr;
    return own->kind == Linetype::Kind::kDashed ? own : nullptr;
  }

  // The lineweight an entity is drawn with: a width, or Default.
  static ZcDb::LineWeight lineWeightOf(const ZcDbEntity& entity, const LayerStyle& layer,
                                       const Inherited& inherited) {
    ZcDb::LineWeight weight = entity.lineWeight();
    if (weight == ZcDb::kLnWtByLayer) weight = layer.lineWeight;
    if (weight == ZcDb::kLnWtByBlock)
      weight = inherited.inBlock ? inherited.lineWeight : ZcDb::kLnWtByLwDefault;
    // A layer cannot be ByLayer or ByBlock itself; one that says so is Default.
    if (weight == ZcDb::kLnWtByLayer || weight == ZcDb::kLnWtByBlock) weight = ZcDb::kLnWtByLwDefault;
    return weight;
  }

  // The canvas's dash pattern: `linetype` at `pixelsPerUnit` (its scales included), or
  // continuous for none and for patterns too fine for the pixels.
  void setPattern(const Linetype* linetype, double pixelsPerUnit) {
    if (linetype && !(linetype->length * pixelsPerUnit >= kFinestPatternPx)) linetype = nullptr;
    if (linetype == patternLinetype_ && (!linetype || pixelsPerUnit == patternScale_)) return;
    patternLinetype_ = linetype;
    patternScale_ = pixelsPerUnit;
    std::vector<double> dashes;
    if (linetype) {
      dashes.reserve(linetype->dashes.size());
      for (double dash : linetype->dashes) dashes.push_back(dash * pixelsPerUnit);
    }
    canvas_.setPattern(std::move(dashes));
  }

  void drawEllipse(const ZcDbEllipse& ellipse, const Projection& toPixel) {
    const ZcGePoint3d c = ellipse.center();
    const ZcGeVector3d major = ellipse.majorAxis();
    const ZcGeVector3d minor = ellipse.minorAxis();
    if (!discVisible(c, major.length(), toPixel)) return cull();
    double start = 0.0, end = 0.0;
    if (ellipse.getStartParam(start) != Zcad::eOk || ellipse.getEndParam(end) != Zcad::eOk) return;
    const int n = arcChordCount(major.length() * toPixel.maxScale(), end - start);
    for (int i = 0; i <= n; ++i) {
      const double t = start + (end - start) * i / n;
      const ZcGePoint2d p = toPixel(c + std::cos(t) * major + std::sin(t) * minor);
      if (i == 0) {
        canvas_.moveTo(p);
      } else {
        canvas_.lineTo(p);
      }
    }
    ++stats_.drawn;
  }

  void drawPolyline(const ZcDbPolyline& pline, const Projection& toPixel, Rgb color) {
    const unsigned int n = pline.numVerts();
    vertices_.resize(n);
    const bool wide = pline.hasWidth();
    for (unsigned int i = 0; i < n; ++i) {
      BulgeVertex& v = vertices_[i];
      pline.getPointAt(i, v.point);
      pline.getBulgeAt(i, v.bulge);
      v.startWidth = v.endWidth = 0.0;
      if (wide) pline.getWidthsAt(i, v.startWidth, v.endWidth);
    }
    paintBulgePolyline(canvas_, inPlaneOf(toPixel, pline.normal(), pline.elevation()), vertices_,
                       pline.isClosed(), color, /*patternPerSegment=*/!pline.hasPlinegen());
    ++stats_.drawn;
  }

  void draw2dPolyline(const ZcDb2dPolyline& pline, const Projection& toPixel, Rgb color) {
    const bool splined =
        pline.polyType() == ZcDb::k2dQuadSplinePoly || pline.polyType() == ZcDb::k2dCubicSplinePoly;
    vertices_.clear();
    std::unique_ptr<ZcDbObjectIterator> it(pline.vertexIterator());
    for (; it && !it->done(); it->step()) {
      const ZcDb2dVertex* vertex = ZcDb2dVertex::cast(it->entity());
      if (!vertex) continue;
      // A spline-fit polyline shows its fit vertices; its control frame is not drawn.
      if (splined && vertex->vertexType() == ZcDb::k2dSplineCtlVertex) continue;
      const ZcGePoint3d p = vertex->position();
      vertices_.push_back(
          {ZcGePoint2d(p.x, p.y), splined ? 0.0 : vertex->bulge(), vertex->startWidth(), vertex->endWidth()});
    }
    paintBulgePolyline(canvas_, inPlaneOf(toPixel, pline.normal(), pline.elevation()), vertices_,
                       pline.isClosed(), color, /*patternPerSegment=*/!pline.isLinetypeGenerationOn());
    ++stats_.drawn;
  }

  void draw3dPolyline(const ZcDb3dPolyline& pline, const Projection& toPixel) {
    const bool splined = pline.polyType() != ZcDb::k3dSimplePoly;
    std::unique_ptr<ZcDbObjectIterator> it(pline.vertexIterator());
    bool first = true;
    ZcGePoint2d start;
    for (; it && !it->done(); it->step()) {
      const ZcDb3dPolylineVertex* vertex = ZcDb3dPolylineVertex::cast(it->entity());
      if (!vertex) continue;
      if (splined && vertex->vertexType() == ZcDb::k3dControlVertex) continue;
      const ZcGePoint2d p = toPixel(vertex->position());
      if (first) {
        canvas_.moveTo(p);
        start = p;
        first = false;
      } else {
        // No linetype generation for 3-D polylines: the pattern starts at each vertex.
        canvas_.restartPattern();
        canvas_.lineTo(p);
      }
    }
    if (!first && pline.isClosed()) canvas_.closePath();
    ++stats_.drawn;
  }

  // Splines and any other curve: chords of its ZcGe form within a fraction of a pixel.
  void drawCurve(const ZcDbCurve& curve, const Projection& toPixel) {
    ZcDbExtents box;
    if (curve.getGeomExtents(box) == Zcad::eOk && !boxVisible(box, toPixel)) return cull();
    ZcGeCurve3d* ge = nullptr;
    if (curve.getZcGeCurve(ge) != Zcad::eOk || !ge) return;
    const std::unique_ptr<ZcGeCurve3d> owned(ge);
    double start = 0.0, end = 0.0;
    if (curve.getStartParam(start) != Zcad::eOk || curve.getEndParam(end) != Zcad::eOk) return;
    const double scale = toPixel.maxScale();
    if (!(scale > 0.0)) return;
    strokeCurve(canvas_, toPixel, *owned, start, end, 1.0 / scale);
    ++stats_.drawn;
  }

  ZcDbDatabase* db_;
  const editor::ViewTransform& view_;
  Canvas& canvas_;
  const RenderOptions& options_;
  Rgb foreground_;
  LayerStyles layers_;
  LinetypeStyles linetypes_;
  LineSettings lines_;
  const Linetype* patternLinetype_ = nullptr;
  double patternScale_ = 0.0;
  std::unordered_map<ZcDbObjectId, ZcDbExtents> blockBoxes_;
  std::vector<BulgeVertex> vertices_;
  int pdmode_ = 0;
  double pdsize_ = 0.0;
  RenderStats stats_;
  std::vector<std::pair<const ZcRxClass*, EntityKind>> kinds_;
  const ZcRxClass* lastClass_ = nullptr;
  EntityKind lastKind_ = EntityKind::kOther;
};

}  // namespace

RenderStats renderDrawing(ZcDbDatabase* db, const editor::ViewTransform& view, Canvas& canvas,
                          const RenderOptions& options) {
  return Renderer(db, view, canvas, options).run();
}

}  // namespace vtcad::render
