// ZB2PL on the command line: files of every line kind, encoding and line end, read failures,
// and the drawing checked after a save and reload.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dxf/DxfFile.h"
#include "frame/Utf8.h"
#include "plugin/frame/FrameTestSupport.h"
#include "polyline/CoordinateFileCommand.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class CoordinateFileCommandTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    askFileNamesOnTheCommandLine();
    zcedRegCmds()->addCommand(L"CoordinateFileTest", L"ZB2PL", L"ZB2PL", 0, &zb2plCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"CoordinateFileTest");
    std::error_code ignored;
    for (const std::filesystem::path& path : files_) std::filesystem::remove(path, ignored);
    FrameTest::TearDown();
  }

  // A new file of these bytes, named for this process and test.
  std::wstring file(const std::string& bytes) {
    const std::filesystem::path path = newPath();
    std::ofstream(path, std::ios::binary) << bytes;
    return decodeUtf8(path.string());
  }
  std::filesystem::path newPath() {
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) /
                                       ("coordinate-file-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                        "-" + std::to_string(files_.size()) + ".txt");
    files_.push_back(path);
    return path;
  }
  void zb2pl(const std::wstring& path) { run(L"ZB2PL\n" + path + L"\n"); }

  // The model space of the drawing written to DXF and read back, in drawing order.
  std::vector<ZcDbObjectId> reloadedEntities() {
    reloaded_ = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    std::vector<ZcDbObjectId> ids;
    EXPECT_TRUE(reloaded_.ok()) << reloaded_.refusal;
    if (!reloaded_.ok()) return ids;
    Opened<ZcDbBlockTableRecord> space(reloaded_.database->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
  std::vector<ZcDbObjectId> entities() const {
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    return space->entityIds();
  }

  std::vector<std::filesystem::path> files_;
  vtcad::dxf::LoadResult reloaded_;
};

// The world points of a lightweight polyline's vertices; empty when `id` is not one.
std::vector<ZcGePoint3d> lightweightVertices(ZcDbObjectId id) {
  std::vector<ZcGePoint3d> points;
  Opened<ZcDbPolyline> polyline(id);
  for (unsigned int i = 0; polyline && i < polyline->numVerts(); ++i) {
    ZcGePoint3d point;
    polyline->getPointAt(i, point);
    points.push_back(point);
  }
  return points;
}

TEST_F(CoordinateFileCommandTest, EveryLineKindEndToEnd) {
  const std::wstring path = file(
      "// survey of the yard\n"
      "0,0,0\n"
      "10\xEF\xBC\x8C"
      "20\xEF\xBC\x9B"
      "0\n"  // 10，20；0
      "20,0 // corner\n"
      "  1, ,2  \n"  // line 5: bad, reported as written
      "X\n"          // -> lightweight (0,0) (10,20) (20,0)
      "5,5,0\n"
      "6,6,1\n"
      "7,7,\n"
      "\n"  // -> 3-D: z rises by 1 and falls again
      "8,8\n"
      "label\n"  // one point: nothing
      ",5\n"
      "1,inf\n"  // line 14: bad
      "10 20\n"  // "1020": a terminator after one point, nothing
      "3|4|2\n"
      "5\xE3\x80\x81"
      "6\xE3\x80\x81"
      "2.00005\n"  // 5、6、2.00005 -> lightweight at elevation 2
      "\n");
  zb2pl(path);
  EXPECT_TRUE(said("\nError in line 5, data discarded, please check: [  1, ,2  ]")) << transcript_;
  EXPECT_TRUE(said("\nError in line 14, data discarded, please check: [1,inf]")) << transcript_;
  EXPECT_FALSE(said("line 13")) << transcript_;
  EXPECT_TRUE(said("\nAdded < 3> polylines.")) << transcript_;

  const std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 3u);
  const std::vector<ZcGePoint3d> first = lightweightVertices(ids[0]);
  ASSERT_EQ(first.size(), 3u);
  EXPECT_TRUE(closeTo(first[0], {0, 0, 0}));
  EXPECT_TRUE(closeTo(first[1], {10, 20, 0}));
  EXPECT_TRUE(closeTo(first[2], {20, 0, 0}));
  {
    Opened<ZcDb3dPolyline> rising(ids[1]);
    ASSERT_TRUE(rising);
    ZcGePoint3d start, end;
    rising->getStartPoint(start);
    rising->getEndPoint(end);
    EXPECT_TRUE(closeTo(start, {5, 5, 0}, 1e-6));
    EXPECT_TRUE(closeTo(end, {7, 7, 0}, 1e-6));
  }
  const std::vector<ZcGePoint3d> last = lightweightVertices(ids[2]);
  ASSERT_EQ(last.size(), 2u);
  EXPECT_TRUE(closeTo(last[0], {3, 4, 2}));
  EXPECT_TRUE(closeTo(last[1], {5, 6, 2}));
}

TEST_F(CoordinateFileCommandTest, Gb18030FileWithFullWidthSeparatorsAndAChineseLabel) {
  chineseVersion = true;
  // 起点 / 1，2；0 / 3、4 / 5，，6 / 9，9 in GB18030, CR LF line ends.
  zb2pl(
      file("\xC6\xF0\xB5\xE3\r\n1\xA3\xAC"
           "2\xA3\xBB"
           "0\r\n3\xA1\xA2"
           "4\r\n5\xA3\xAC\xA3\xAC"
           "6\r\n9\xA3\xAC"
           "9\r\n"));
  EXPECT_TRUE(said("\n第 4 行错误，数据被抛弃，请检查: 【5，，6】")) << transcript_;
  EXPECT_TRUE(said("\nAdded < 1> polylines.")) << transcript_;
  const std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 1u);
  const std::vector<ZcGePoint3d> points = lightweightVertices(ids[0]);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_TRUE(closeTo(points[0], {1, 2, 0}));
  EXPECT_TRUE(closeTo(points[2], {9, 9, 0}));
}

// Regression: the UTF-8 mark read as part of the first line made its x 0.
TEST_F(CoordinateFileCommandTest, MarkedUtf8AndCrLfAndLoneCrFilesReadAlike) {
  for (const char* bytes : {"\xEF\xBB\xBF"
                            "1,1\n5,0\n\n0,5\n5,5\n",
                            "1,1\r\n5,0\r\n\r\n0,5\r\n5,5\r\n", "1,1\r5,0\r\r0,5\r5,5\r"}) {
    const std::size_t before = entities().size();
    zb2pl(file(bytes));
    const std::vector<ZcDbObjectId> ids = entities();
    ASSERT_EQ(ids.size(), before + 2) << transcript_;
    EXPECT_TRUE(closeTo(lightweightVertices(ids[before]).at(0), {1, 1, 0}));
    EXPECT_TRUE(closeTo(lightweightVertices(ids[before + 1]).at(1), {5, 5, 0}));
  }
  EXPECT_FALSE(said("Error")) << transcript_;
}

TEST_F(CoordinateFileCommandTest, OneLineFileIsTooShort) {
  zb2pl(file("1,2,3\n"));
  EXPECT_TRUE(said("\nToo few lines in file！")) << transcript_;
  chineseVersion = true;
  zb2pl(file("1,2,3"));
  EXPECT_TRUE(said("\n文件中行数太少！")) << transcript_;
  EXPECT_FALSE(said("Added")) << transcript_;
  EXPECT_TRUE(entities().empty());
}

TEST_F(CoordinateFileCommandTest, MissingOrUnreadableFileSaysSoAndDrawsNothing) {
  // The prompt refuses a missing file; giving up ends the command silently.
  const std::wstring missing = decodeUtf8(newPath().string());
  zb2pl(missing);
  EXPECT_TRUE(said("File not found")) << transcript_;
  EXPECT_FALSE(said("Read File")) << transcript_;

  // Gone between the prompt and the reading.
  drawCoordinateFilePolylines(missing, CoordinateFileLimits{});
  EXPECT_TRUE(said("\nRead File <" + encodeUtf8(missing) + "> Error.")) << transcript_;

  // A file that opens but fails to read: this process's memory file, whose first page is never
  // mapped.
  const std::filesystem::path unreadable = newPath();
  std::filesystem::create_symlink("/proc/self/mem", unreadable);
  zb2pl(decodeUtf8(unreadable.string()));
  EXPECT_TRUE(said("\nRead File <" + unreadable.string() + "> Error.")) << transcript_;
  EXPECT_TRUE(entities().empty());
}

TEST_F(CoordinateFileCommandTest, EnormousLineIsReportedShortAndSkipped) {
  zb2pl(file("0,0\n" + std::string(1 << 20, '1') + ",2\n5,5\n"));
  EXPECT_TRUE(said("\nError in line 2, data discarded, please check: [" + std::string(40, '1') + "...]"))
      << transcript_.substr(0, 500);
  EXPECT_LT(transcript_.size(), 1000u);
  EXPECT_TRUE(said("\nAdded < 1> polylines.")) << transcript_;
  ASSERT_EQ(entities().size(), 1u);
  EXPECT_EQ(lightweightVertices(entities()[0]).size(), 2u);
}

TEST_F(CoordinateFileCommandTest, LongBlockIsDrawnInJoinedPieces) {
  CoordinateFileLimits limits;
  limits.maxBlockPoints = 3;
  drawCoordinateFilePolylines(file("1,0\n2,0\n3,0\n4,0\n5,0\n6,0\n7,0\nend\n8,0\n9,0\n10,0\n11,0\n"), limits);
  EXPECT_TRUE(
      said("\nLine 4: a block of more than 3 points is drawn as several polylines joined end to end."))
      << transcript_;
  EXPECT_TRUE(said("\nLine 12: a block of more than 3 points")) << transcript_;
  EXPECT_FALSE(said("Line 6:")) << transcript_;
  EXPECT_TRUE(said("\nAdded < 5> polylines.")) << transcript_;
  const std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 5u);
  const double expectedX[5][3] = {{1, 2, 3}, {3, 4, 5}, {5, 6, 7}, {8, 9, 10}, {10, 11, 0}};
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const std::vector<ZcGePoint3d> points = lightweightVertices(ids[k]);
    ASSERT_EQ(points.size(), k == 4 ? 2u : 3u) << k;
    for (std::size_t i = 0; i < points.size(); ++i) EXPECT_EQ(points[i].x, expectedX[k][i]) << k << ":" << i;
  }
}

}  // namespace
}  // namespace veltrace::testing
