#include "zcad/db/ZcDbBlockReference.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "database/ConicGeometry.h"
#include "database/PlanarTransform.h"
#include "database/ZcDbValidate.h"
#include "zcad/db/ZcDbBlockTable.h"

namespace {

ZcRxObject* createBlockReference() { return new ZcDbBlockReference(); }

// Relative tolerance for the axes of a composed transform to count as perpendicular.
constexpr double kOrthoTol = 1e-9;

// Blocks being expanded by extents queries on this thread, outermost first. A block already
// here is inserted into itself: expanding it again would never end.
std::vector<ZcDbObjectId>& expanding() {
  thread_local std::vector<ZcDbObjectId> blocks;
  return blocks;
}

void addEntityExtents(const ZcDbEntity* entity, const ZcGeMatrix3d& xform, ZcDbExtents& extents);

// Adds the extents of the block's visible entities under `xform`.
void addBlockExtents(ZcDbObjectId blockId, const ZcGeMatrix3d& xform, ZcDbExtents& extents) {
  std::vector<ZcDbObjectId>& stack = expanding();
  if (blockId.isNull() || std::find(stack.begin(), stack.end(), blockId) != stack.end() ||
      stack.size() >= static_cast<size_t>(ZcDbBlockReference::kMaxNesting)) {
    return;
  }
  ZcDbBlockTableRecord* block = nullptr;
  if (zcdbOpenObject(block, blockId, ZcDb::kForRead) != Zcad::eOk) return;
  ZcDbBlockTableRecordIterator* it = nullptr;
  if (block->newIterator(it) != Zcad::eOk || !it) {
    block->close();
    return;
  }
  stack.push_back(blockId);
  for (; !it->done(); it->step()) {
    ZcDbEntity* entity = nullptr;
    // An entity someone holds open for write cannot be read now: it is left out.
    if (it->getEntity(entity, ZcDb::kForRead) != Zcad::eOk || !entity) continue;
    if (entity->visibility() == ZcDb::kVisible) addEntityExtents(entity, xform, extents);
    entity->close();
  }
  stack.pop_back();
  delete it;
  block->close();
}

void addEntityExtents(const ZcDbEntity* entity, const ZcGeMatrix3d& xform, ZcDbExtents& extents) {
  if (const ZcDbBlockReference* ref = ZcDbBlockReference::cast(entity)) {
    addBlockExtents(ref->blockTableRecord(), xform * ref->blockTransform(), extents);
    return;
  }
  ZcDbExtents own;
  if (xform.isIdentity()) {
    if (entity->getGeomExtents(own) == Zcad::eOk) extents.addExt(own);
    return;
  }
  // The transformed entity's own extents are tight (a rotated arc); the box of the
  // untransformed box is the fallback for entities that cannot be copied transformed.
  ZcDbEntity* copy = nullptr;
  if (entity->getTransformedCopy(xform, copy) == Zcad::eOk && copy) {
    if (copy->getGeomExtents(own) == Zcad::eOk) extents.addExt(own);
    delete copy;
    return;
  }
  delete copy;
  if (entity->getGeomExtents(own) == Zcad::eOk) {
    own.transformBy(xform);
    extents.addExt(own);
  }
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbBlockReference, ZcDbEntity, L"AcDbBlockReference", L"INSERT",
                               createBlockReference)

namespace {
// Registered when the library loads, so that readers find the class by its names.
[[maybe_unused]] const bool registered = (ZcDbBlockReference::desc(), true);
}  // namespace

ZcDbBlockReference::ZcDbBlockReference() = default;

ZcDbBlockReference::ZcDbBlockReference(const ZcGePoint3d& position, ZcDbObjectId blockTableRecord)
    : position_(zcdbFinite(position) ? position : ZcGePoint3d::kOrigin),
      blockTableRecord_(blockTableRecord) {}

ZcDbBlockReference::~ZcDbBlockReference() = default;

ZcDbObjectId ZcDbBlockReference::blockTableRecord() const {
  assertReadEnabled();
  return blockTableRecord_;
}

Zcad::ErrorStatus ZcDbBlockReference::setBlockTableRecord(ZcDbObjectId blockTableRecord) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  blockTableRecord_ = blockTableRecord;
  return Zcad::eOk;
}

ZcGePoint3d ZcDbBlockReference::position() const {
  assertReadEnabled();
  return position_;
}

Zcad::ErrorStatus ZcDbBlockReference::setPosition(const ZcGePoint3d& position) {
  if (!zcdbFinite(position)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  position_ = position;
  return Zcad::eOk;
}

ZcGeScale3d ZcDbBlockReference::scaleFactors() const {
  assertReadEnabled();
  return scale_;
}

Zcad::ErrorStatus ZcDbBlockReference::setScaleFactors(const ZcGeScale3d& scale) {
  for (int i = 0; i < 3; ++i) {
    if (!std::isfinite(scale[i]) || scale[i] == 0.0) return Zcad::eInvalidInput;
  }
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  scale_ = scale;
  return Zcad::eOk;
}

double ZcDbBlockReference::rotation() const {
  assertReadEnabled();
  return rotation_;
}

Zcad::ErrorStatus ZcDbBlockReference::setRotation(double rotation) {
  if (!std::isfinite(rotation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  rotation_ = vtcad::db::normalizeAngle(rotation);
  return Zcad::eOk;
}

ZcGeVector3d ZcDbBlockReference::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbBlockReference::setNormal(const ZcGeVector3d& normal) {
  if (!zcdbFinite(normal) || normal.isZeroLength()) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = normal.normal();
  return Zcad::eOk;
}

ZcGePoint3d ZcDbBlockReference::blockOrigin() const {
  ZcDbBlockTableRecord* block = nullptr;
  if (blockTableRecord_.isNull() || zcdbOpenObject(block, blockTableRecord_, ZcDb::kForRead) != Zcad::eOk) {
    return ZcGePoint3d::kOrigin;
  }
  const ZcGePoint3d origin = block->origin();
  block->close();
  return origin;
}

ZcGeMatrix3d ZcDbBlockReference::blockTransform() const {
  assertReadEnabled();
  ZcGeVector3d x, y;
  vtcad::db::ocsAxes(normal_, x, y);
  const ZcGeVector3d u = x * std::cos(rotation_) + y * std::sin(rotation_);
  const ZcGeVector3d v = normal_.crossProduct(u);
  ZcGeMatrix3d placement;
  placement.setCoordSystem(position_, u, v, normal_);
  const ZcGePoint3d origin = blockOrigin();
  return placement * ZcGeMatrix3d::scaling(ZcGeVector3d(scale_.sx, scale_.sy, scale_.sz)) *
         ZcGeMatrix3d::translation(ZcGePoint3d::kOrigin - origin);
}

Zcad::ErrorStatus ZcDbBlockReference::decompose(const ZcGeMatrix3d& transform, const ZcGeVector3d& newNormal,
                                                double ySign) {
  if (newNormal.isZeroLength()) return Zcad::eInvalidInput;
  const ZcGeVector3d c0 = transform * ZcGeVector3d::kXAxis;
  const ZcGeVector3d c1 = transform * ZcGeVector3d::kYAxis;
  const ZcGeVector3d c2 = transform * ZcGeVector3d::kZAxis;
  const double l0 = c0.length();
  const double l1 = c1.length();
  const double l2 = c2.length();
  if (!(l0 > 0.0) || !(l1 > 0.0) || !(l2 > 0.0)) return Zcad::eInvalidInput;

  // The block's axes must stay perpendicular, with the z axis along the new normal.
  const double sz = c2.dotProduct(newNormal);
  const bool orthogonal = std::fabs(c0.dotProduct(c1)) <= kOrthoTol * l0 * l1 &&
                          std::fabs(c0.dotProduct(c2)) <= kOrthoTol * l0 * l2 &&
                          std::fabs(c1.dotProduct(c2)) <= kOrthoTol * l1 * l2 &&
                          (c2 - newNormal * sz).length() <= kOrthoTol * l2;
  if (!orthogonal) return Zcad::eNotApplicable;

  // The y factor takes the sign asked for (the old one), so a mirror shows as a negative x
  // factor and a plain rotation or translation gives back the same factors.
  const ZcGeVector3d v = c1 / (ySign * l1);
  const ZcGeVector3d u = v.crossProduct(newNormal);
  const ZcGePoint3d origin = blockOrigin();

  // Checked: from here on the transform succeeds.
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  position_ = transform * origin;
  normal_ = newNormal;
  rotation_ = vtcad::db::ocsAngleOf(newNormal, u);
  scale_.set(c0.dotProduct(u), ySign * l1, sz);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockReference::setBlockTransform(const ZcGeMatrix3d& transform) {
  if (!vtcad::db::isFiniteAffine(transform)) return Zcad::eInvalidInput;
  // Without an old normal to follow, the block's z axis gives it (z factor positive).
  const ZcGeVector3d newNormal = (transform * ZcGeVector3d::kZAxis).normal();
  return decompose(transform, newNormal, /*ySign=*/1.0);
}

Zcad::ErrorStatus ZcDbBlockReference::transformBy(const ZcGeMatrix3d& xform) {
  if (!vtcad::db::isFiniteAffine(xform)) return Zcad::eInvalidInput;
  return decompose(xform * blockTransform(), vtcad::db::transformedPlaneNormal(xform, normal_),
                   /*ySign=*/scale_.sy < 0.0 ? -1.0 : 1.0);
}

Zcad::ErrorStatus ZcDbBlockReference::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  ZcDbExtents result;
  addBlockExtents(blockTableRecord_, blockTransform(), result);
  if (result.isEmpty()) return Zcad::eInvalidExtents;
  extents = result;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockReference::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbEntity::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(position_);
  filer->writeSoftPointerId(blockTableRecord_);
  filer->writeDouble(scale_.sx);
  filer->writeDouble(scale_.sy);
  filer->writeDouble(scale_.sz);
  filer->writeDouble(rotation_);
  filer->writeVector3d(normal_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbBlockReference::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbEntity::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d position;
  ZcDbObjectId block;
  double sx = 0.0, sy = 0.0, sz = 0.0, rotation = 0.0;
  ZcGeVector3d normal;
  filer->readPoint3d(&position);
  filer->readSoftPointerId(&block);
  filer->readDouble(&sx);
  filer->readDouble(&sy);
  filer->readDouble(&sz);
  filer->readDouble(&rotation);
  filer->readVector3d(&normal);
  if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
  const bool valid = zcdbFinite(position) && std::isfinite(sx) && sx != 0.0 && std::isfinite(sy) &&
                     sy != 0.0 && std::isfinite(sz) && sz != 0.0 && std::isfinite(rotation) &&
                     zcdbFinite(normal) && !normal.isZeroLength();
  if (!valid) return Zcad::eInvalidInput;
  position_ = position;
  blockTableRecord_ = block;
  scale_.set(sx, sy, sz);
  rotation_ = rotation;
  normal_ = normal.normal();
  return Zcad::eOk;
}
