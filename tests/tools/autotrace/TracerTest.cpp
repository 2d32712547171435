// The tracer program on its own: its command line, pictures of each kind it reads traced into
// a DXF file vtcad opens, grey steps on layers of their own, and failures that leave no file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "StepBitmaps.h"
#include "Tracer.h"
#include "TracerOptions.h"
#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/platform/zcimage.h"

namespace vtcad::tracer {
namespace {

namespace fs = std::filesystem;

class TracerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::path(::testing::TempDir()) / ("tracer " + std::to_string(::getpid()) + " " +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // White with a black rectangle [left, right) × [top, bottom) and a mid-grey band on the right.
  fs::path picture(const std::string& name, int bpp = 24) {
    CImage image;
    EXPECT_TRUE(image.Create(80, 60, bpp));
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 80; ++x) {
        const bool black = x >= 10 && x < 40 && y >= 5 && y < 25;
        const bool grey = x >= 60 && x < 75;
        image.SetPixel(x, y, black ? RGB(0, 0, 0) : grey ? RGB(128, 128, 128) : RGB(255, 255, 255));
      }
    }
    const fs::path path = folder_ / name;
    EXPECT_EQ(image.Save(path.wstring().c_str()), S_OK);
    return path;
  }

  struct Polyline {
    std::wstring layer;
    ZcDbExtents extents;
  };
  static std::vector<Polyline> polylinesOf(const fs::path& dxf) {
    std::vector<Polyline> found;
    vtcad::dxf::LoadResult loaded = vtcad::dxf::loadDxfFile(dxf);
    EXPECT_TRUE(loaded.ok()) << loaded.refusal;
    if (!loaded.ok()) return found;
    EXPECT_EQ(loaded.losses, 0u);
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, loaded.database->modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
    for (ZcDbObjectId id : space->entityIds()) {
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
      if (const auto* p = ZcDbPolyline::cast(entity)) {
        EXPECT_TRUE(p->isClosed());
        Polyline each;
        each.layer = entity->layer().kwszPtr();
        entity->getGeomExtents(each.extents);
        found.push_back(each);
      }
      entity->close();
    }
    space->close();
    return found;
  }

  fs::path folder_;
};

TEST_F(TracerTest, TwoColoursTraceTheDarkShapesAsClosedPolylinesWithYUp) {
  for (const char* name : {"square.png", "square.bmp"}) {
    const fs::path out = folder_ / (std::string(name) + " out.dxf");
    const TraceResult result = traceFile({picture(name).string(), out.string(), 2});
    ASSERT_TRUE(result.ok) << result.error;
    const std::vector<Polyline> polylines = polylinesOf(out);
    // The grey band (128) is lighter than half: only the black rectangle is traced.
    ASSERT_EQ(polylines.size(), 1u) << name;
    EXPECT_EQ(polylines[0].layer, L"TRACE");
    const ZcDbExtents& box = polylines[0].extents;
    // Rows 5 ... 25 from the top of 60 are y 35 ... 55 in the drawing.
    EXPECT_NEAR(box.minPoint().x, 10, 0.5);
    EXPECT_NEAR(box.maxPoint().x, 40, 0.5);
    EXPECT_NEAR(box.minPoint().y, 35, 0.5);
    EXPECT_NEAR(box.maxPoint().y, 55, 0.5);
  }
}

TEST_F(TracerTest, MoreColoursGiveOneLayerPerStepStackedFromTheDarkest) {
  const fs::path out = folder_ / "steps.dxf";
  ASSERT_TRUE(traceFile({picture("steps.png", 8).string(), out.string(), 3}).ok);
  const std::vector<Polyline> polylines = polylinesOf(out);
  // Step 1: the black rectangle; step 2: it and the grey band.
  int first = 0;
  int second = 0;
  for (const Polyline& p : polylines) {
    first += p.layer == L"STEP1";
    second += p.layer == L"STEP2";
  }
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
}

TEST_F(TracerTest, TheCommandLineIsReadInAnyOrderAndBadArgumentsAreRefused) {
  ParsedOptions parsed = parseTracerOptions(
      {"-output-file", "o.dxf", "in file.bmp", "-color-count", "5", "-output-format", "dxf"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.input, "in file.bmp");
  EXPECT_EQ(parsed.options.output, "o.dxf");
  EXPECT_EQ(parsed.options.colorCount, 5);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"a.bmp"},
                                             {"-output-file", "o.dxf"},
                                             {"a.bmp", "b.bmp", "-output-file", "o.dxf"},
                                             {"a.bmp", "-color-count", "1", "-output-file", "o.dxf"},
                                             {"a.bmp", "-color-count", "2x", "-output-file", "o.dxf"},
                                             {"a.bmp", "-output-format", "svg", "-output-file", "o.dxf"},
                                             {"a.bmp", "-centerline", "1", "-output-file", "o.dxf"},
                                             {"a.bmp", "-output-file"}}) {
    EXPECT_FALSE(parseTracerOptions(bad).ok) << bad.size();
  }
}

// Over random colours and step counts: steps run from 0 (black) to N - 1 (white) and never
// go down as the grey gets lighter.
TEST_F(TracerTest, GreyStepsAreOrderedByLightness) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> channel(0, 255);
  std::uniform_int_distribution<int> steps(2, 256);
  for (int i = 0; i < 5000; ++i) {
    const int n = steps(random);
    const int r = channel(random), g = channel(random), b = channel(random);
    const int step = greyStep(r, g, b, n);
    EXPECT_GE(step, 0);
    EXPECT_LT(step, n);
    EXPECT_LE(step, greyStep(std::min(r + 1, 255), g, b, n));
  }
  EXPECT_EQ(greyStep(0, 0, 0, 7), 0);
  EXPECT_EQ(greyStep(255, 255, 255, 7), 6);
}

int runTracer(const std::vector<std::string>& arguments) {
  std::vector<char*> argv{const_cast<char*>(VTCAD_TRACER)};
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execv(VTCAD_TRACER, argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(TracerTest, TheProgramWritesTheFileOrLeavesNothing) {
  const fs::path out = folder_ / "traced file.dxf";
  EXPECT_EQ(runTracer({picture("a picture.png").string(), "-color-count", "2", "-output-format", "dxf",
                       "-output-file", out.string()}),
            0);
  EXPECT_TRUE(fs::exists(out));
  // Not a picture: refused, nothing written.
  const fs::path text = folder_ / "notes.bmp";
  std::ofstream(text) << "BM but not really";
  const fs::path none = folder_ / "none.dxf";
  EXPECT_EQ(runTracer({text.string(), "-output-file", none.string()}), 1);
  EXPECT_FALSE(fs::exists(none));
  EXPECT_EQ(runTracer({"-color-count", "2"}), 2);
}

}  // namespace
}  // namespace vtcad::tracer
