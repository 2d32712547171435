#pragma once
// The drawing commands' tests: a fresh drawing as the working drawing, the drawing commands
// and U on the command line, scripts run with the transcript kept, and the entities the
// scripts leave (in this drawing, or in the same drawing saved as DXF and read back).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CommandTestSupport.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace draw_test {

using command_test::near;
using command_test::Opened;

// The entities of model space that are not erased, in drawing order.
std::vector<ZcDbObjectId> modelSpaceEntities(ZcDbDatabase& db);

class DrawCommandTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts over with a new, empty drawing as the working drawing (for tests that run one
  // script per case).
  void freshDrawing();

  // Runs a script on the command line; answers the transcript it printed.
  std::string run(std::wstring_view script);
  // Whether the transcript of every run so far holds `text`.
  bool said(std::string_view text) const { return transcript_.find(text) != std::string::npos; }

  std::vector<ZcDbObjectId> entities() { return modelSpaceEntities(*db_); }
  // The one entity the scripts made (the test fails when there is not exactly one).
  ZcDbObjectId onlyEntity();
  // This drawing saved as DXF and read back (null, after failing the test, when that fails).
  std::unique_ptr<ZcDbDatabase> savedAndReloaded();

  std::unique_ptr<ZcDbDatabase> db_;
  std::string transcript_;
};

}  // namespace draw_test
