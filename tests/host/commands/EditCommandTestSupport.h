#pragma once
// The editing commands' tests: a fresh drawing as the working drawing, the editing commands and
// U on the command line, scripts run with their transcript kept, entities added directly to
// model space and read back through the database.
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

namespace edit_test {

using command_test::near;
using command_test::Opened;

// "#2F": how a script picks the entity.
std::wstring pick(ZcDbObjectId id);

class EditCommandTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs a script on the command line; answers what it printed.
  std::string run(std::wstring_view script);
  // Whether any run so far printed `text`.
  bool said(std::string_view text) const { return transcript_.find(text) != std::string::npos; }

  // The live entities of model space, in drawing order.
  std::vector<ZcDbObjectId> entities();
  // Appends `entity` (not in a database) to model space, closed.
  ZcDbObjectId add(ZcDbEntity* entity);
  ZcDbObjectId addLine(const ZcGePoint3d& start, const ZcGePoint3d& end);
  ZcDbObjectId addCircle(const ZcGePoint3d& center, double radius);
  ZcDbObjectId addPolyline(const std::vector<ZcGePoint2d>& points, bool closed = false,
                           const std::vector<double>& bulges = {});

  std::unique_ptr<ZcDbDatabase> db_;
  std::string transcript_;
};

}  // namespace edit_test
