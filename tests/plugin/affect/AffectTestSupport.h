#pragma once
// The blend, fence and influence commands' tests: the five commands and the host's commands
// (SCALE, MOVE and U, which plAffClick and the undo checks need) on a fresh drawing, and the
// drawing read back from its saved DXF.
#include <utility>
#include <vector>

#include "affect/AffectCommands.h"
#include "commands/HostCommands.h"
#include "dxf/DxfFile.h"
#include "morph/CurveBlends.h"
#include "morph/FenceMapping.h"
#include "platform/KeyboardState.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {

class AffectTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    vtcad::commands::registerHostCommands();
    for (auto [name, body] : {std::pair{L"PLBLENDS", &plblendsCommand},
                              {L"PLMAP4", &plmap4Command},
                              {L"PLAFFECT", &plaffectCommand},
                              {L"plAffectMoveX", &plAffectMoveXCommand},
                              {L"plAffClick", &plAffClickCommand}}) {
      zcedRegCmds()->addCommand(L"AffectTest", name, name, 0, body);
    }
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"AffectTest");
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    vtcad::platform::keyboardState().releaseAll();
    FrameTest::TearDown();
  }

  ZcDbObjectId addLine(const ZcGePoint3d& a, const ZcGePoint3d& b) {
    return addToModelSpace(new ZcDbLine(a, b));
  }
  ZcDbObjectId addCircle(const ZcGePoint3d& centre, double radius) {
    return addToModelSpace(new ZcDbCircle(centre, ZcGeVector3d::kZAxis, radius));
  }

  // The drawing as saved and read back becomes the working drawing; ids are found again by
  // handle (pick() before, handleOf after).
  void reload() {
    vtcad::dxf::LoadResult reloaded = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    ASSERT_TRUE(reloaded.ok()) << reloaded.refusal;
    zcdbHostApplicationServices()->setWorkingDatabase(reloaded.database.get());
    db_ = std::move(reloaded.database);
  }
  // The entities of model space not erased, in drawing order.
  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) {
      if (!id.isErased()) ids.push_back(id);
    }
    return ids;
  }
  // The entities after the first `skip`, in drawing order.
  std::vector<ZcDbObjectId> madeAfter(size_t skip) const {
    std::vector<ZcDbObjectId> ids = modelSpace();
    ids.erase(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(std::min(skip, ids.size())));
    return ids;
  }
  static double radiusOf(ZcDbObjectId id) {
    Opened<ZcDbCircle> circle(id);
    return circle ? circle->radius() : -1.0;
  }
  static ZcGePoint3d centreOf(ZcDbObjectId id) {
    Opened<ZcDbCircle> circle(id);
    return circle ? circle->center() : ZcGePoint3d(1e300, 0, 0);
  }
};

}  // namespace veltrace::testing
