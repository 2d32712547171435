#pragma once
// The divide, reverse and number commands' tests: the four bodies on the command line as PLDF,
// PLDJDF, PLDD and PLBH, and the model-space entities a script leaves.
#include <utility>
#include <vector>

#include "plugin/frame/FrameTestSupport.h"
#include "polyline/DivideCurves.h"
#include "polyline/NumberVertices.h"
#include "polyline/ReverseCurves.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {

class VertexCommandTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    for (auto [name, body] : {std::pair{L"PLDF", &pldfCommand},
                              {L"PLDJDF", &pldjdfCommand},
                              {L"PLDD", &plddCommand},
                              {L"PLBH", &plbhCommand}}) {
      zcedRegCmds()->addCommand(L"VertexCommandTest", name, name, 0, body);
    }
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"VertexCommandTest");
    FrameTest::TearDown();
  }
  // Not erased, in drawing order; of this drawing unless another is given.
  std::vector<ZcDbObjectId> modelSpace(ZcDbDatabase* db = nullptr) const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space((db ? db : db_.get())->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) {
      if (!id.isErased()) ids.push_back(id);
    }
    return ids;
  }
};

}  // namespace veltrace::testing
