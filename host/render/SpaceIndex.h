#pragma once
// SpaceIndex: the entities of a space (model space, a layout, a block) in drawing order with
// their world boxes, and a box tree over the boxes' plan (x, y) extents, so that a picture of
// a small part of a huge drawing visits only what lies in it.
//
// Kept with the drawing (ZcDbDatabaseImpl::derived) and built again when anything in the
// drawing has changed since (ZcDbDatabaseImpl::changes): entities added, erased, moved, undone,
// block definitions edited (a reference's box depends on them); changes of view records only
// (pans and zooms) keep it. Entities without a box (their extents fail) are in every answer.
#include <vector>

#include "database/BoxTree.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbObjectId.h"

class ZcDbDatabase;

namespace vtcad::render {

struct IndexedEntity {
  ZcDbObjectId id;
  ZcDbExtents box;  // world coordinates; empty when the entity has none
};

class SpaceIndex {
 public:
  explicit SpaceIndex(ZcDbObjectId spaceId);

  const std::vector<IndexedEntity>& entities() const { return entities_; }
  // Indexes into entities() of those whose plan box overlaps `plan` (and of those without a
  // box), in drawing order.
  std::vector<int> overlapping(const db::Box2d& plan) const;

 private:
  std::vector<IndexedEntity> entities_;
  std::vector<int> boxed_;  // tree entry -> entity index
  std::vector<int> unboxed_;
  db::BoxTree tree_;
};

// The index of `spaceId` in `db`, built now when the drawing changed since it was last built
// (valid until the drawing changes).
const SpaceIndex& spaceIndexOf(ZcDbDatabase* db, ZcDbObjectId spaceId);

}  // namespace vtcad::render
