// R2V through a script driving its dialog, in both languages, by its own route and by the
// tracer program (the project's, and ones that fail), with the drawing checked after a save
// and reload.
#include <fstream>

#include "commands/HostCommands.h"
#include "frame/Settings.h"
#include "image/ImageCommands.h"
#include "image/VectorizeDialog.h"
#include "plugin/image/ImageDialogTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

namespace fs = std::filesystem;

class VectorizeDialogTest : public ImageDialogTest {
 protected:
  void SetUp() override {
    ImageDialogTest::SetUp();
    // The traced drawing of the tracer program comes in through the host's INSERT.
    vtcad::commands::registerHostCommands();
    addCommand(L"R2V", &loadCOutlineDlg);
    // A black square of 20 pixels on white, 80 × 60.
    picture_ = saved(blackRectangleOnWhite(80, 60, 20, 15, 40, 35), "square.bmp");
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    ImageDialogTest::TearDown();
  }
  // The program folder's tracer is a copy of `tracer` (none when empty).
  void useTracer(const fs::path& tracer) {
    const fs::path folder = folder_ / "program folder";
    fs::create_directories(folder / "autotrace");
    if (!tracer.empty()) fs::copy_file(tracer, folder / "autotrace" / "autotrace");
    setStringSetting(L"Location", folder.wstring() + L"/");
  }
  // The one block reference of the reloaded drawing and the polylines of its block.
  std::vector<ZcDbObjectId> tracedPolylines(ZcDbObjectId& reference) {
    std::vector<ZcDbObjectId> polylines;
    const std::vector<ZcDbObjectId> ids = reloadedEntities();
    EXPECT_EQ(ids.size(), 1u) << transcript_;
    if (ids.size() != 1) return polylines;
    reference = ids[0];
    Opened<ZcDbBlockReference> insert(reference);
    EXPECT_TRUE(insert);
    if (!insert) return polylines;
    Opened<ZcDbBlockTableRecord> block(insert->blockTableRecord());
    for (ZcDbObjectId id : block->entityIds()) {
      Opened<ZcDbPolyline> polyline(id);
      EXPECT_TRUE(polyline);
      if (polyline) polylines.push_back(id);
    }
    return polylines;
  }
  std::wstring picture_;
};

// Extents of the polyline `id`.
ZcDbExtents extentsOf(ZcDbObjectId id) {
  Opened<ZcDbPolyline> polyline(id);
  ZcDbExtents extents;
  if (polyline) polyline->getGeomExtents(extents);
  return extents;
}

TEST_F(VectorizeDialogTest, OwnRouteTracesClosedPolylinesAroundTheShapesIntoABlockAtOriginAndHeight) {
  run(L"R2V\npress vectorize\nshow\npress load\n" + picture_ +
      L"\nslide threshold 100\nslide optimisation 0\nslide clutter 12\npress vectorize\n10,20\n30\n");
  EXPECT_TRUE(said("\n[Image Vectorize to Curves] open")) << transcript_;
  EXPECT_TRUE(said("\n  4019 label \"Please load the picture first\""));
  EXPECT_TRUE(said("\n  4007 label \"Outliers ignored: 10\""));
  EXPECT_TRUE(said("\nPlease specify the origin>>"));
  EXPECT_TRUE(said("\n[Image Vectorize to Curves] closed"));
  EXPECT_EQ(readSetting(kExternalRouteSetting), 0);

  ZcDbObjectId reference;
  const std::vector<ZcDbObjectId> polylines = tracedPolylines(reference);
  Opened<ZcDbBlockReference> insert(reference);
  ASSERT_TRUE(insert);
  // 60 rows placed 30 high: scale 0.5, the top-left corner at the origin + (0, 30).
  EXPECT_TRUE(closeTo(insert->position(), ZcGePoint3d(10, 50, 0)));
  EXPECT_NEAR(insert->scaleFactors().sx, 0.5, 1e-12);
  EXPECT_NEAR(insert->scaleFactors().sy, -0.5, 1e-12);
  // The white paper's outline and the square's, each closed, one vertex per outline pixel.
  ASSERT_EQ(polylines.size(), 2u);
  bool squareFound = false;
  for (ZcDbObjectId id : polylines) {
    Opened<ZcDbPolyline> polyline(id);
    EXPECT_TRUE(polyline->isClosed());
    const ZcDbExtents e = extentsOf(id);
    if (std::abs(e.minPoint().x - 20) <= 1 && std::abs(e.maxPoint().x - 39) <= 1 &&
        std::abs(e.minPoint().y - 15) <= 1 && std::abs(e.maxPoint().y - 34) <= 1) {
      squareFound = true;
      EXPECT_GE(polyline->numVerts(), 70u);
    }
  }
  EXPECT_TRUE(squareFound);
}

TEST_F(VectorizeDialogTest, ChineseQuickModeTracesWithTheTracerProgramAndInsertsAtThePickedPoint) {
  chineseVersion = true;
  useTracer(VTCAD_TRACER);
  // A black disc on white: its traced outline has more vertices than the clutter value.
  const std::wstring disc = saved(drawnPicture(80, 60,
                                               [](int x, int y) {
                                                 return (x - 40) * (x - 40) + (y - 30) * (y - 30) < 400
                                                            ? RGB(0, 0, 0)
                                                            : RGB(255, 255, 255);
                                               }),
                                  "disc.png");
  run(L"R2V\ncheck quick\npress load\n" + disc + L"\npress vectorize\n5,7\n");
  EXPECT_TRUE(said("\n[图片矢量化] open")) << transcript_;
  EXPECT_TRUE(said("waiting..."));
  EXPECT_TRUE(said("\n[图片矢量化] closed"));
  EXPECT_EQ(readSetting(kExternalRouteSetting), 1);
  ZcDbObjectId reference;
  const std::vector<ZcDbObjectId> polylines = tracedPolylines(reference);
  Opened<ZcDbBlockReference> insert(reference);
  ASSERT_TRUE(insert);
  EXPECT_TRUE(closeTo(insert->position(), ZcGePoint3d(5, 7, 0)));
  ASSERT_FALSE(polylines.empty());
  for (ZcDbObjectId id : polylines) {
    Opened<ZcDbPolyline> polyline(id);
    EXPECT_TRUE(polyline->isClosed());
    EXPECT_EQ(polyline->colorIndex(), 0);
  }
}

TEST_F(VectorizeDialogTest, AFailingTracerOrANonPictureInsertsNothing) {
  const fs::path script = folder_ / "failing.sh";
  std::ofstream(script) << "#!/bin/sh\nprintf half > \"$7\"\nexit 3\n";
  fs::permissions(script, fs::perms::owner_all);
  useTracer(script);
  std::ofstream(folder_ / "notes.bmp") << "not a picture";
  run(L"R2V\ncheck quick\npress load\n" + (folder_ / "notes.bmp").wstring() + L"\npress load\n" + picture_ +
      L"\npress vectorize\n");
  EXPECT_TRUE(said("GetLastError: 13 -- Load image Error：")) << transcript_;
  EXPECT_TRUE(said("\n[Image Vectorize to Curves] closed"));
  EXPECT_TRUE(reloadedEntities().empty());

  // Without the program the quick mode cannot be chosen, and the setting says so.
  fs::remove(folder_ / "program folder" / "autotrace" / "autotrace");
  writeSetting(kExternalRouteSetting, 1);
  run(L"R2V\ncheck quick\ncancel\n");
  EXPECT_TRUE(said("4021 is disabled."));
  EXPECT_EQ(readSetting(kExternalRouteSetting), 0);
}

}  // namespace
}  // namespace veltrace::testing
