// zcedTrans: points and displacements between the coordinate systems a command names.
//   0 world; 1 user: the world, since vtcad has no user coordinate system other than the world
//   yet; 2 display: that of the current view (the world for a plan view); 3 paper-space
//   display: only to or from 2, and the same as it, since model space is shown tiled with no
//   paper-space viewport to scale it; an entity name: its object coordinate system; a 3-D point:
//   the object coordinate system of that extrusion direction.
#include <cmath>
#include <optional>

#include "editor/ViewTransform.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/zced.h"

namespace {

constexpr short kWorld = 0;
constexpr short kUser = 1;
constexpr short kDisplay = 2;
constexpr short kPaperDisplay = 3;

// The extrusion direction of the entity kinds that have one; other kinds (splines, 3-D
// polylines) lie in the world.
template <typename... Kinds>
ZcGeVector3d extrusionOf(const ZcDbEntity* entity) {
  ZcGeVector3d normal = ZcGeVector3d::kZAxis;
  (void)((Kinds::cast(entity) ? (normal = Kinds::cast(entity)->normal(), true) : false) || ...);
  return normal;
}

// The matrix from the coordinate system `rb` names to the world; nothing for a code or value
// that names none (an unknown code, a zero or non-finite direction, a name that is no entity).
std::optional<ZcGeMatrix3d> toWorld(const resbuf* rb) {
  if (!rb) return std::nullopt;
  switch (rb->restype) {
    case RTSHORT:
      switch (rb->resval.rint) {
        case kWorld:
        case kUser:
          return ZcGeMatrix3d::kIdentity;
        case kDisplay:
        case kPaperDisplay:
          return vtcad::editor::ViewTransform::current().displayToWorld();
        default:
          return std::nullopt;
      }
    case RT3DPOINT: {
      ZcGeVector3d direction(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
      if (!zcgeIsFinite(direction) || direction.isZeroLength()) return std::nullopt;
      return ZcGeMatrix3d::planeToWorld(direction);
    }
    case RTENAME: {
      ZcDbObjectId id;
      if (zcdbGetObjectId(id, rb->resval.rlname) != Zcad::eOk) return std::nullopt;
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return std::nullopt;
      ZcGeVector3d normal =
          extrusionOf<ZcDbCircle, ZcDbArc, ZcDbPolyline, ZcDb2dPolyline, ZcDbText, ZcDbBlockReference,
                      ZcDbHatch, ZcDbLine, ZcDbPoint, ZcDbEllipse, ZcDbMText>(entity);
      entity->close();
      if (!zcgeIsFinite(normal) || normal.isZeroLength()) return std::nullopt;
      return ZcGeMatrix3d::planeToWorld(normal);
    }
    default:
      return std::nullopt;
  }
}

bool isCode(const resbuf* rb, short code) { return rb && rb->restype == RTSHORT && rb->resval.rint == code; }

}  // namespace

int zcedTrans(const zds_point pt, const resbuf* from, const resbuf* to, int disp, zds_point result) {
  if (!pt || !result) return RTERROR;
  // The paper-space display system is defined against the display system only.
  if ((isCode(from, kPaperDisplay) && !isCode(to, kDisplay)) ||
      (isCode(to, kPaperDisplay) && !isCode(from, kDisplay))) {
    return RTERROR;
  }
  std::optional<ZcGeMatrix3d> fromWorld = toWorld(from);
  std::optional<ZcGeMatrix3d> toTarget = toWorld(to);
  if (!fromWorld || !toTarget) return RTERROR;
  if (!std::isfinite(pt[0]) || !std::isfinite(pt[1]) || !std::isfinite(pt[2])) return RTERROR;
  // Every system here is orthonormal: the inverse is exact up to rounding.
  ZcGeMatrix3d m = toTarget->inverse() * *fromWorld;
  double out[3];
  for (int row = 0; row < 3; ++row) {
    // A displacement has no position: the translation column does not apply.
    out[row] = m(row, 0) * pt[0] + m(row, 1) * pt[1] + m(row, 2) * pt[2] + (disp ? 0.0 : m(row, 3));
  }
  // `result` may be `pt` itself: written only now.
  for (int i = 0; i < 3; ++i) result[i] = out[i];
  return RTNORM;
}
