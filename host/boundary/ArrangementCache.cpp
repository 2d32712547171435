#include "boundary/ArrangementCache.h"

#include "zcad/db/ZcDbEntity.h"

namespace vtcad::boundary {

const Arrangement& ArrangementCache::arrangementOf(ZcDbObjectId spaceId) {
  std::vector<PlanEdge> curves = visibleCurves(spaceId, &made_);
  reused_ = arrangement_ && curves == curves_;
  if (!reused_) {
    // Something changed: the polylines made from the old arrangement may bound regions of
    // their own now (a wall they followed was erased), so every curve takes part.
    made_.clear();
    curves_ = visibleCurves(spaceId);
    arrangement_ = std::make_unique<Arrangement>(curves_);
  }
  return *arrangement_;
}

void ArrangementCache::noteMade(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return;
  std::vector<PlanEdge> curves;
  addEntityCurves(*entity, ZcGeMatrix3d::kIdentity, curves);
  entity->close();
  made_[id] = std::move(curves);
}

void ArrangementCache::clear() {
  curves_.clear();
  arrangement_.reset();
  made_.clear();
  reused_ = false;
}

}  // namespace vtcad::boundary
