// The selection index answers what a walk over the whole space answers, through random
// moves, additions, erasures, undo and redo, and a change log that overflows.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SelectionTestSupport.h"
#include "database/ZcDbDatabaseImpl.h"
#include "editor/SelectionIndex.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace vtcad::editor {
namespace {

class SelectionIndexTest : public testing::DrawingTest {
 protected:
  // Every present entity of model space whose box meets the window, or that has no box, in
  // drawing order: what the index must answer.
  std::vector<ZcDbObjectId> walked(const ZcGePoint2d& min, const ZcGePoint2d& max) {
    std::vector<ZcDbObjectId> ids;
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db_.modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
    const std::vector<ZcDbObjectId> members = space->entityIds();
    space->close();
    for (const ZcDbObjectId& id : members) {
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
      ZcDbExtents box;
      const bool known = !ZcDbBlockReference::cast(entity) && entity->getGeomExtents(box) == Zcad::eOk;
      entity->close();
      if (!known || !(box.maxPoint().x < min.x || box.minPoint().x > max.x || box.maxPoint().y < min.y ||
                      box.minPoint().y > max.y))
        ids.push_back(id);
    }
    return ids;
  }
  void transform(ZcDbObjectId id, const ZcGeMatrix3d& m) {
    ZcDbEntity* entity = nullptr;
    // Erased ones (and those whose adding was undone) stay where they are.
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return;
    entity->transformBy(m);
    entity->close();
  }
};

TEST_F(SelectionIndexTest, AnswersAsAWalkOverTheSpaceThroughRandomEdits) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> at(0.0, 1000.0), unit(0.0, 1.0);
  std::vector<ZcDbObjectId> ids;
  for (int i = 0; i < 400; ++i) {
    ids.push_back(unit(random) < 0.5 ? append(new ZcDbCircle(ZcGePoint3d(at(random), at(random), 0),
                                                             ZcGeVector3d::kZAxis, 5))
                                     : append(new ZcDbLine(ZcGePoint3d(at(random), at(random), 0),
                                                           ZcGePoint3d(at(random), at(random), 0))));
  }
  for (int step = 0; step < 300; ++step) {
    const double pick = unit(random);
    db_.beginUndoGroup();
    if (pick < 0.5) {
      ZcGeMatrix3d m;
      m.setToTranslation(ZcGeVector3d(at(random) - 500, at(random) - 500, 0));
      transform(ids[static_cast<std::size_t>(unit(random) * ids.size()) % ids.size()], m);
    } else if (pick < 0.65) {
      ids.push_back(append(new ZcDbCircle(ZcGePoint3d(at(random), at(random), 0), ZcGeVector3d::kZAxis, 50)));
    } else if (pick < 0.8) {
      ZcDbEntity* entity = nullptr;
      const ZcDbObjectId id = ids[static_cast<std::size_t>(unit(random) * ids.size()) % ids.size()];
      if (zcdbOpenObject(entity, id, ZcDb::kForWrite) == Zcad::eOk) {
        entity->erase(!id.isErased());
        entity->close();
      }
    }
    db_.endUndoGroup();
    if (pick >= 0.8 && pick < 0.9) db_.undo();
    if (pick >= 0.9) db_.redo();
    const double x = at(random), y = at(random), w = 200 * unit(random);
    const ZcGePoint2d min(x, y), max(x + w, y + w * unit(random));
    ASSERT_EQ(entitiesNearWindow(db_, db_.modelSpaceId(), min, max), walked(min, max)) << "step " << step;
  }
}

TEST_F(SelectionIndexTest, AChangeLogThatOverflowedBuildsTheIndexAgain) {
  const ZcDbObjectId line = append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0)));
  const ZcGePoint2d min(100, 100), max(101, 101);
  EXPECT_TRUE(entitiesNearWindow(db_, db_.modelSpaceId(), min, max).empty());
  ZcGeMatrix3d there, back;
  there.setToTranslation(ZcGeVector3d(100, 100, 0));
  back.setToTranslation(ZcGeVector3d(-100, -100, 0));
  for (std::size_t i = 0; i < ZcDbDatabaseImpl::kChangeLogLimit / 2 + 1; ++i) {
    transform(line, there);
    transform(line, back);
  }
  transform(line, there);
  EXPECT_EQ(entitiesNearWindow(db_, db_.modelSpaceId(), min, max), std::vector<ZcDbObjectId>{line});
}

}  // namespace
}  // namespace vtcad::editor
