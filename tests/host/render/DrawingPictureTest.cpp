// Pictures of whole drawings compared with committed ones (tests/host/render/golden): a scene
// of every entity kind built here, the example drawing and drawings by other programs.
//
// Tolerance: a pixel differs when a channel is more than kChannelTolerance levels off; the
// picture matches when at most kDifferingShare of its pixels differ (what changes with an
// antialiasing detail, never a missing entity). A failed comparison writes the picture drawn
// and a difference picture (red where pixels differ, the golden dimmed elsewhere) into
// render-golden/ of the test's working directory and names them. VTCAD_UPDATE_GOLDENS=1
// writes the goldens instead (after a change that is meant to change them).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "RenderTestSupport.h"
#include "database/ZcDbFileAccess.h"
#include "dxf/DxfFile.h"
#include "host/editor/WorkingDrawingFixture.h"
#include "render/DrawingPicture.h"
#include "render/ExtentsView.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace {

namespace fs = std::filesystem;
using render_test::Image;

constexpr int kChannelTolerance = 8;
constexpr double kDifferingShare = 0.005;
constexpr vtcad::editor::ScreenSize kSize{480, 300};

// Compares `image` with golden `name`.png; answers the failure's message, empty on a match.
std::string compareWithGolden(const Image& image, const std::string& name) {
  const fs::path golden = fs::path(VTCAD_GOLDEN_DIR) / (name + ".png");
  if (const char* update = std::getenv("VTCAD_UPDATE_GOLDENS"); update && std::string(update) == "1") {
    render_test::writePng(image, golden.string());
    return {};
  }
  const Image expected = render_test::readPng(golden.string());
  const fs::path outDir = fs::current_path() / "render-golden";
  fs::create_directories(outDir);
  const fs::path actualPath = outDir / (name + ".png");
  if (expected.width != image.width || expected.height != image.height) {
    render_test::writePng(image, actualPath.string());
    return "golden " + golden.string() + " is missing or of another size; drawn: " + actualPath.string();
  }
  Image diff = expected;
  long differing = 0;
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const vtcad::render::Rgb a = vtcad::render::Rgb::fromPacked(image.pixels[i]);
    const vtcad::render::Rgb b = vtcad::render::Rgb::fromPacked(expected.pixels[i]);
    const bool off = std::abs(a.red - b.red) > kChannelTolerance ||
                     std::abs(a.green - b.green) > kChannelTolerance ||
                     std::abs(a.blue - b.blue) > kChannelTolerance;
    differing += off ? 1 : 0;
    diff.pixels[i] = off ? 0xFF0000u : (expected.pixels[i] >> 2) & 0x3F3F3Fu;
  }
  if (differing <= kDifferingShare * static_cast<double>(image.pixels.size())) return {};
  const fs::path diffPath = outDir / (name + "-diff.png");
  render_test::writePng(image, actualPath.string());
  render_test::writePng(diff, diffPath.string());
  return std::to_string(differing) + " pixels differ from " + golden.string() +
         "; drawn: " + actualPath.string() + ", difference: " + diffPath.string();
}

Image pictureOfExtents(ZcDbDatabase* db) {
  return render_test::renderImage(db, vtcad::render::extentsView(db, kSize));
}

using DrawingPictureTest = WorkingDrawingFixture;

ZcCmColor index(int i) {
  ZcCmColor color;
  color.setColorIndex(static_cast<Zdesk::UInt16>(i));
  return color;
}

ZcDbEntity* colored(ZcDbEntity* entity, int colorIndex) {
  entity->setColor(index(colorIndex));
  return entity;
}

TEST_F(DrawingPictureTest, ASceneOfEveryEntityKindMatchesItsGolden) {
  using render_test::addEntity;
  addEntity(db, colored(new ZcDbLine({0, 0, 0}, {100, 60, 0}), 1));
  addEntity(db, colored(new ZcDbCircle({20, 40, 0}, ZcGeVector3d::kZAxis, 12), 2));
  addEntity(db, colored(new ZcDbArc({60, 40, 0}, 10, 0.3, 2.8), 3));
  addEntity(db, colored(new ZcDbEllipse({90, 20, 0}, ZcGeVector3d::kZAxis, {14, 6, 0}, 0.4), 4));
  ZcGePoint3dArray fit;
  for (double x = 0; x <= 100; x += 20) fit.append(ZcGePoint3d(x, 70 + 8 * std::sin(x / 12), 0));
  addEntity(db, colored(new ZcDbSpline(fit), 6));
  auto* pline = new ZcDbPolyline;
  pline->addVertexAt(0, ZcGePoint2d(5, 5), 0.6);
  pline->addVertexAt(1, ZcGePoint2d(35, 5));
  pline->addVertexAt(2, ZcGePoint2d(35, 20));
  pline->setWidthsAt(1, 0, 3);
  pline->setClosed(true);
  addEntity(db, colored(pline, 5));
  db.setPdmode(34);
  db.setPdsize(4);
  addEntity(db, new ZcDbPoint({50, 10, 0}));
  auto* hatch = new ZcDbHatch;
  ZcGePoint2dArray loop;
  loop.append(ZcGePoint2d(110, 0));
  loop.append(ZcGePoint2d(140, 0));
  loop.append(ZcGePoint2d(125, 25));
  ZcGeDoubleArray bulges;
  for (int i = 0; i < 3; ++i) bulges.append(0.0);
  hatch->appendLoop(ZcDbHatch::kExternal | ZcDbHatch::kPolyline, loop, bulges);
  hatch->setPattern(ZcDbHatch::kPreDefined, L"SOLID");
  addEntity(db, colored(hatch, 30));
  auto* byBlock = new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 4);
  byBlock->setColor(index(0));
  const ZcDbObjectId block =
      render_test::addBlock(db, L"MARK", {byBlock, new ZcDbLine({-4, 0, 0}, {4, 0, 0})});
  for (int i = 0; i < 3; ++i) {
    auto* ref = new ZcDbBlockReference(ZcGePoint3d(115 + 10 * i, 45, 0), block);
    ref->setRotation(0.4 * i);
    ref->setScaleFactors(ZcGeScale3d(1 + 0.3 * i));
    addEntity(db, colored(ref, 1 + i));
  }
  addEntity(db, new ZcDbText(ZcGePoint3d(105, 65, 0), L"vtcad 绘图", ZcDbObjectId::kNull, 6, 0.1));
  const std::string failed = compareWithGolden(pictureOfExtents(&db), "scene");
  EXPECT_TRUE(failed.empty()) << failed;
}

// Small goldens: each a few features on 200 x 150 pixels.
constexpr vtcad::editor::ScreenSize kSmall{200, 150};

TEST_F(DrawingPictureTest, LinetypesAndLineweightsMatchTheirGolden) {
  using render_test::addEntity;
  using render_test::restyle;
  const ZcDbObjectId dashed = render_test::addLinetype(db, L"DASHED", {8, -4});
  const ZcDbObjectId dashDot = render_test::addLinetype(db, L"DASHDOT", {10, -3, 0, -3});
  // Linetypes: the entity's own, its scale, the layer's (ByLayer), a circle, a polyline
  // restarting the pattern at each vertex and one with linetype generation.
  restyle(addEntity(db, new ZcDbLine({0, 110, 0}, {100, 110, 0})), dashed, 1.0, ZcDb::kLnWtByLayer);
  restyle(addEntity(db, new ZcDbLine({0, 100, 0}, {100, 100, 0})), dashDot, 1.0, ZcDb::kLnWtByLayer);
  restyle(addEntity(db, new ZcDbLine({0, 90, 0}, {100, 90, 0})), dashed, 2.0, ZcDb::kLnWtByLayer);
  const ZcDbObjectId hidden = render_test::addLayer(db, L"HIDDEN", 3);
  {
    ZcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(zcdbOpenObject(layer, hidden, ZcDb::kForWrite), Zcad::eOk);
    layer->setLinetypeObjectId(dashDot);
    layer->setLineWeight(ZcDb::kLnWt070);
    layer->close();
  }
  auto* onLayer = new ZcDbLine({0, 80, 0}, {100, 80, 0});
  const ZcDbObjectId onLayerId = addEntity(db, onLayer);
  {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, onLayerId, ZcDb::kForWrite), Zcad::eOk);
    entity->setLayer(hidden);
    entity->close();
  }
  restyle(addEntity(db, colored(new ZcDbCircle({135, 95, 0}, ZcGeVector3d::kZAxis, 18), 2)), dashDot, 1.0,
          ZcDb::kLnWtByLayer);
  for (bool plinegen : {false, true}) {
    auto* zigzag = new ZcDbPolyline;
    for (unsigned k = 0; k < 6; ++k)
      zigzag->addVertexAt(k, ZcGePoint2d((plinegen ? 80.0 : 0.0) + 12.0 * k, 55.0 + (k % 2) * 12.0));
    zigzag->setPlinegen(plinegen);
    restyle(addEntity(db, colored(zigzag, 4)), dashed, 0.6, ZcDb::kLnWtByLayer);
  }
  // Lineweights, shown with LWDISPLAY: thin, 0.50, 1.00 and 2.11 mm, Default (LWDEFAULT 0.80
  // mm), a block's ByBlock entity taking the reference's 1.40 mm.
  render_test::setHeaderShort(db, L"LWDISPLAY", 290, 1);
  render_test::setHeaderShort(db, L"LWDEFAULT", 370, 80);
  const ZcDb::LineWeight weights[] = {ZcDb::kLnWt000, ZcDb::kLnWt050, ZcDb::kLnWt100, ZcDb::kLnWt211,
                                      ZcDb::kLnWtByLwDefault};
  for (int i = 0; i < 5; ++i) {
    const double y = 40.0 - 9.0 * i;
    restyle(addEntity(db, colored(new ZcDbLine({0, y, 0}, {100, y, 0}), 1 + i)), {}, 1.0, weights[i]);
  }
  auto* byBlock = new ZcDbLine({-15, 0, 0}, {15, 0, 0});
  const ZcDbObjectId block = render_test::addBlock(db, L"BAR", {byBlock});
  {
    ZcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(zcdbOpenObject(record, block, ZcDb::kForRead), Zcad::eOk);
    const std::vector<ZcDbObjectId> ids = record->entityIds();
    record->close();
    restyle(ids.front(), {}, 1.0, ZcDb::kLnWtByBlock);
  }
  auto* ref = new ZcDbBlockReference(ZcGePoint3d(135, 30, 0), block);
  ref->setRotation(0.5);
  restyle(addEntity(db, colored(ref, 6)), {}, 1.0, ZcDb::kLnWt140);
  const std::string failed =
      compareWithGolden(render_test::renderImage(&db, vtcad::render::extentsView(&db, kSmall)), "linetypes");
  EXPECT_TRUE(failed.empty()) << failed;
}

TEST_F(DrawingPictureTest, MultilineTextsMatchTheirGolden) {
  using render_test::addEntity;
  // Wrapped at its width, with a taller word, coloured characters (an index, a true colour),
  // Chinese and a stack.
  auto* wrapped = new ZcDbMText;
  wrapped->setLocation({0, 100, 0});
  wrapped->setTextHeight(6);
  wrapped->setWidth(90);
  wrapped->setContents(
      L"Site plan {\\H1.5x;north} wing\\P{\\C1;red} and {\\c16711680;blue} 绘图 平面 1\\S1/2;");
  addEntity(db, colored(wrapped, 7));
  // Centred on its point, turned, "exactly" spaced lines of a coloured entity.
  auto* turned = new ZcDbMText;
  turned->setLocation({140, 60, 0});
  turned->setTextHeight(5);
  turned->setAttachment(ZcDbMText::kMiddleCenter);
  turned->setRotation(0.5);
  turned->setLineSpacingStyle(ZcDb::kExactly);
  turned->setContents(L"first line\\Plonger second line\\Pend");
  addEntity(db, colored(turned, 3));
  addEntity(db, colored(new ZcDbLine({0, 20, 0}, {180, 20, 0}), 8));
  const std::string failed =
      compareWithGolden(render_test::renderImage(&db, vtcad::render::extentsView(&db, kSmall)), "mtext");
  EXPECT_TRUE(failed.empty()) << failed;
}

// A polyline loop of the corners' x and y.
void appendSquare(ZcDbHatch& hatch, Zdesk::Int32 type, double x0, double y0, double x1, double y1) {
  ZcGePoint2dArray loop;
  loop.append(ZcGePoint2d(x0, y0));
  loop.append(ZcGePoint2d(x1, y0));
  loop.append(ZcGePoint2d(x1, y1));
  loop.append(ZcGePoint2d(x0, y1));
  ZcGeDoubleArray bulges;
  for (int i = 0; i < 4; ++i) bulges.append(0.0);
  hatch.appendLoop(type | ZcDbHatch::kPolyline, loop, bulges);
}

// Pattern definition lines as a drawing file gives them (groups 78, 53, 43..46, 79, 49).
void setPatternLines(ZcDbHatch& hatch, const std::vector<std::vector<double>>& lines) {
  std::vector<ZcDbKeptGroup>& kept = ZcDbFileAccess::keptGroupsForWrite(&hatch);
  kept.push_back({78, 2, std::to_string(lines.size()), {}});
  for (const std::vector<double>& line : lines) {
    const Zdesk::Int16 codes[] = {53, 43, 44, 45, 46};
    for (int i = 0; i < 5; ++i) kept.push_back({codes[i], 2, std::to_string(line[i]), {}});
    kept.push_back({79, 2, std::to_string(line.size() - 5), {}});
    for (std::size_t i = 5; i < line.size(); ++i) kept.push_back({49, 2, std::to_string(line[i]), {}});
  }
}

TEST_F(DrawingPictureTest, HatchPatternsFromTheirDefinitionLinesMatchTheirGolden) {
  // Bricks (a continuous course line and dashed joints) around an island, islands alternating.
  auto* bricks = new ZcDbHatch;
  appendSquare(*bricks, ZcDbHatch::kExternal, 0, 0, 80, 60);
  appendSquare(*bricks, 0, 25, 20, 55, 40);
  bricks->setPattern(ZcDbHatch::kPreDefined, L"BRICK");
  setPatternLines(*bricks, {{0, 0, 0, 0, 6}, {90, 0, 0, -6, 6, 6, -6}});
  render_test::addEntity(db, colored(bricks, 1));
  // Dashes and dots at 45 degrees, style "outer": the island of the island stays empty, and
  // so does the island.
  auto* dotted = new ZcDbHatch;
  appendSquare(*dotted, ZcDbHatch::kExternal, 100, 0, 180, 60);
  appendSquare(*dotted, 0, 115, 10, 165, 50);
  appendSquare(*dotted, 0, 130, 20, 150, 40);
  dotted->setHatchStyle(ZcDbHatch::kOuter);
  dotted->setPattern(ZcDbHatch::kCustomDefined, L"DASHDOT");
  setPatternLines(*dotted, {{45, 0, 0, -2.5, 2.5, 5, -2, 0, -2}});
  render_test::addEntity(db, colored(dotted, 3));
  const std::string failed = compareWithGolden(
      render_test::renderImage(&db, vtcad::render::extentsView(&db, kSmall)), "hatch-patterns");
  EXPECT_TRUE(failed.empty()) << failed;
}

// Drawings from files, each against its golden.
void expectFileMatches(const fs::path& file, const std::string& golden) {
  vtcad::dxf::LoadResult loaded = vtcad::dxf::loadDxfFile(file);
  ASSERT_TRUE(loaded.ok()) << file << ": " << loaded.refusal;
  const std::string failed = compareWithGolden(pictureOfExtents(loaded.database.get()), golden);
  EXPECT_TRUE(failed.empty()) << failed;
}

TEST_F(DrawingPictureTest, TheExampleDrawingMatchesItsGolden) {
  expectFileMatches(fs::path(VTCAD_EXAMPLES_DIR) / "site-plan.dxf", "site-plan");
}

TEST_F(DrawingPictureTest, DrawingsByOtherProgramsMatchTheirGoldens) {
  const char* shared = std::getenv("VTCAD_SHARED");
  ASSERT_TRUE(shared && *shared)
      << "VTCAD_SHARED names the folder of dxf-samples (tests/CMakeLists.txt sets it)";
  for (const char* name : {"colors", "hatches_1", "insert_bricscad_level_1"}) {
    SCOPED_TRACE(name);
    expectFileMatches(fs::path(shared) / "dxf-samples" / (std::string(name) + ".dxf"), name);
  }
}

TEST(DrawingPicture, PngSvgAndPdfFilesAreWrittenAndAnUnwritableOneIsSaidSo) {
  ZcDbDatabase db;
  render_test::addEntity(db, new ZcDbLine({0, 0, 0}, {10, 10, 0}));
  const fs::path dir = fs::temp_directory_path() / ("vtcad-picture-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const vtcad::editor::ViewTransform view = vtcad::render::extentsView(&db, {64, 48});
  for (const char* name : {"a.png", "a.svg", "a.pdf"}) {
    const fs::path path = dir / name;
    const auto format = vtcad::render::pictureFormatOf(path);
    ASSERT_TRUE(format.has_value());
    EXPECT_FALSE(vtcad::render::writeDrawingPicture(&db, path, *format, view, {}).has_value()) << name;
    EXPECT_GT(fs::file_size(path), 100u) << name;
  }
  // The pixel memory of one picture serves the next: a picture that paints nothing is black,
  // not what the one before showed.
  const fs::path blank = dir / "blank.png";
  ASSERT_FALSE(vtcad::render::writePicture(blank, vtcad::render::PictureFormat::kPng, 64, 48, [](auto&) {}));
  EXPECT_EQ(render_test::countNot(render_test::readPng(blank.string()), vtcad::render::Rgb{0, 0, 0}), 0);
  const auto failed = vtcad::render::writeDrawingPicture(&db, dir / "no-folder" / "a.png",
                                                         vtcad::render::PictureFormat::kPng, view, {});
  ASSERT_TRUE(failed.has_value());
  EXPECT_NE(failed->find("no-folder"), std::string::npos) << *failed;
  fs::remove_all(dir);
}

}  // namespace
