// PLRNDArray on the command line: every kind of curve gets its shifted copies, the copies are
// new entities that save and reload cleanly, and the prompts clamp their replies.
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dxf/DxfFile.h"
#include "frame/ResbufChain.h"
#include "plugin/frame/FrameTestSupport.h"
#include "polyline/RandomArrayCommand.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbXrecord.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

constexpr double kPi = 3.141592653589793;

class RandomArrayCommandTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    zcedRegCmds()->addCommand(L"RandomArrayTest", L"PLRNDArray", L"PLRNDArray", 0, &plrndArrayCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"RandomArrayTest");
    FrameTest::TearDown();
  }
  // The drawing as saved and read back: it becomes the working drawing.
  void reload() {
    vtcad::dxf::LoadResult reloaded = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    ASSERT_TRUE(reloaded.ok()) << reloaded.refusal;
    EXPECT_TRUE(reloaded.messages.empty()) << reloaded.messages.size() << " repairs";
    zcdbHostApplicationServices()->setWorkingDatabase(reloaded.database.get());
    db_ = std::move(reloaded.database);
  }
  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) {
      if (!id.isErased()) ids.push_back(id);
    }
    return ids;
  }
  ZcDbObjectId addLine(double y) {
    return addToModelSpace(new ZcDbLine(ZcGePoint3d(0, y, 0), ZcGePoint3d(2, y, 0)));
  }
  static ZcGePoint3d startOf(ZcDbObjectId id) {
    Opened<ZcDbCurve> curve(id);
    ZcGePoint3d start;
    EXPECT_EQ(curve->getStartPoint(start), Zcad::eOk);
    return start;
  }
};

// `copy` is `source` moved by `shift`: the same class, and the same points along its length.
::testing::AssertionResult isShiftedCopy(ZcDbObjectId copyId, ZcDbObjectId sourceId,
                                         const ZcGeVector3d& shift) {
  Opened<ZcDbCurve> copy(copyId);
  Opened<ZcDbCurve> source(sourceId);
  if (!copy || !source) return ::testing::AssertionFailure() << "not a curve";
  if (copy->isA() != source->isA()) return ::testing::AssertionFailure() << "another class";
  double endParam = 0, length = 0, copyLength = 0;
  source->getEndParam(endParam);
  source->getDistAtParam(endParam, length);
  copy->getEndParam(endParam);
  copy->getDistAtParam(endParam, copyLength);
  if (std::abs(length - copyLength) > 1e-9) return ::testing::AssertionFailure() << "length " << copyLength;
  for (int step = 0; step <= 8; ++step) {
    ZcGePoint3d at, expected;
    copy->getPointAtDist(length * step / 8.0, at);
    source->getPointAtDist(length * step / 8.0, expected);
    if (::testing::AssertionResult near = closeTo(at, expected + shift, 1e-9); !near)
      return near << " at " << step;
  }
  return ::testing::AssertionSuccess();
}

TEST_F(RandomArrayCommandTest, EveryKindOfCurveGetsItsShiftedCopiesThroughASaveAndReload) {
  addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(3, 1, 0)));
  addToModelSpace(new ZcDbCircle(ZcGePoint3d(10, 0, 0), ZcGeVector3d::kZAxis, 2.0));
  auto* lightweight = new ZcDbPolyline;
  lightweight->addVertexAt(0, ZcGePoint2d(0, 10), 0.4);
  lightweight->addVertexAt(1, ZcGePoint2d(4, 10));
  lightweight->addVertexAt(2, ZcGePoint2d(4, 14));
  addToModelSpace(lightweight);
  ZcGePoint3dArray corners, fit;
  for (const ZcGePoint3d& p : {ZcGePoint3d(20, 0, 0), ZcGePoint3d(25, 0, 0), ZcGePoint3d(25, 5, 0)})
    corners.append(p);
  ZcGeDoubleArray bulges;
  for (double b : {-0.5, 0.0, 0.0}) bulges.append(b);
  addToModelSpace(
      new ZcDb2dPolyline(ZcDb::k2dSimplePoly, corners, /*elevation=*/1, /*closed=*/true, 0, 0, &bulges));
  for (const ZcGePoint3d& p : {ZcGePoint3d(0, 20, 0), ZcGePoint3d(5, 24, 0), ZcGePoint3d(9, 19, 0)})
    fit.append(p);
  addToModelSpace(new ZcDbSpline(fit));
  reload();  // the sources carry the handles of a drawing file

  run(L"PLRNDArray\nALL\n\n4\n5\n0\n2\n\n");  // 4 positions, half wave, group of 10
  reload();
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 20u) << transcript_;
  std::set<std::wstring> handles;
  for (ZcDbObjectId id : ids) handles.insert(pick(id));
  EXPECT_EQ(handles.size(), ids.size());

  // Positions 1..3 in turn, each copying the five curves in selection order.
  ZcGeVector3d offset(0, 0, 0);
  for (int i = 1; i <= 3; ++i) {
    offset.x += std::cos(i / 10.0 * kPi * 0.5) * 5.0;
    for (std::size_t n = 0; n < 5; ++n) {
      const ZcDbObjectId copy = ids[5 * static_cast<std::size_t>(i) + n];
      const auto source = std::find_if(ids.begin(), ids.begin() + 5, [&](ZcDbObjectId candidate) {
        return Opened<ZcDbEntity>(candidate)->isA() == Opened<ZcDbEntity>(copy)->isA();
      });
      EXPECT_TRUE(isShiftedCopy(copy, *source, offset)) << "position " << i << ", curve " << n;
      EXPECT_EQ(ownerOf(copy), db_->modelSpaceId());
      // An old-style polyline's copy owns vertex objects of its own.
      if (Opened<ZcDb2dPolyline> polyline(copy); polyline) {
        std::unique_ptr<ZcDbObjectIterator> vertices(polyline->vertexIterator());
        int count = 0;
        for (; !vertices->done(); vertices->step()) {
          EXPECT_EQ(ownerOf(vertices->objectId()), copy);
          ++count;
        }
        EXPECT_EQ(count, 3);
      }
    }
  }
}

TEST_F(RandomArrayCommandTest, CopiesLeaveTheSourcesDictionaryAndReactorsBehind) {
  const ZcDbObjectId line = addLine(0);
  ASSERT_EQ(zcdbRegApp(L"RANDOMARRAYAPP"), RTNORM);
  ZcDbObjectId note;
  {
    ZcDbEntity* source = nullptr;
    ASSERT_EQ(zcdbOpenObject(source, line, ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(source->createExtensionDictionary(), Zcad::eOk);
    ZcDbDictionary* dictionary = nullptr;
    ASSERT_EQ(zcdbOpenObject(dictionary, source->extensionDictionary(), ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbXrecord;
    ASSERT_EQ(dictionary->setAt(L"NOTE", record, note), Zcad::eOk);
    record->close();
    dictionary->close();
    source->addPersistentReactor(note);
    ResbufChain xdata(zcutBuildList(1001, L"RANDOMARRAYAPP", 1000, L"kept", 0));
    ASSERT_EQ(source->setXData(xdata.get()), Zcad::eOk);
    source->close();
  }
  run(L"PLRNDArray\nALL\n\n3\n1\n\n\n");
  reload();
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 3u) << transcript_;
  EXPECT_FALSE(Opened<ZcDbEntity>(ids[0])->extensionDictionary().isNull());
  EXPECT_EQ(Opened<ZcDbEntity>(ids[0])->reactors()->length(), 1);
  for (std::size_t i = 1; i < ids.size(); ++i) {
    Opened<ZcDbEntity> copy(ids[i]);
    EXPECT_TRUE(copy->extensionDictionary().isNull()) << i;
    EXPECT_EQ(copy->reactors()->length(), 0) << i;
    ResbufChain kept(copy->xData(L"RANDOMARRAYAPP"));
    ASSERT_TRUE(kept && kept->rbnext) << i;
    EXPECT_EQ(std::wstring(kept->rbnext->resval.rstring), L"kept");
  }
}

// Random gaps between a third and 149/150 of the distance, along the angle; no group asked.
TEST_F(RandomArrayCommandTest, CountIsCappedAtAThousandEnterKeepsTenAndModeZeroIsRandom) {
  const ZcDbObjectId first = addLine(0);
  run(L"PLRNDArray\nALL\n\n5000\n1\n\n\n");  // angle 0, mode Enter
  const ZcDbObjectId second = addLine(-10);
  run(L"PLRNDArray\n" + pick(second) + L"\n\n\n6\n90\n0\n");
  EXPECT_FALSE(said("number in a group")) << transcript_;
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 1010u) << transcript_;
  struct Run {
    std::size_t from, to;  // the positions in `ids`, the source's own first
    double distance;
    ZcGeVector3d along;
  };
  for (const Run& array : {Run{0, 999, 1.0, {1, 0, 0}}, Run{1000, 1009, 6.0, {0, 1, 0}}}) {
    EXPECT_EQ(ids[array.from], array.from == 0 ? first : second);
    for (std::size_t i = array.from + 1; i <= array.to; ++i) {
      const ZcGeVector3d gap = startOf(ids[i]) - startOf(ids[i - 1]);
      const double length = gap.dotProduct(array.along);
      EXPECT_NEAR((gap - array.along * length).length(), 0.0, 1e-12) << i;
      EXPECT_TRUE(length >= array.distance / 3 - 1e-12 && length <= array.distance * 149 / 150 + 1e-12)
          << i << ": " << length;
    }
  }
}

TEST_F(RandomArrayCommandTest, ModeIsCappedAtFiveAndTheGroupSizeKeptWithinTenToAHundred) {
  const ZcDbObjectId small = addLine(0);
  const ZcDbObjectId large = addLine(50);
  // Logarithmic steps log10(k + 1): position 10 starts a new group of 10 (no step) or is
  // k = 10 of a group of 100.
  run(L"PLRNDArray\n" + pick(small) + L"\n\n12\n1\n0\n9\n5\n");
  run(L"PLRNDArray\n" + pick(large) + L"\n\n12\n1\n0\n5\n500\n");
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 24u) << transcript_;
  const auto position = [&](std::size_t run, int i) { return startOf(ids[2 + 11 * run + (i - 1)]); };
  EXPECT_TRUE(closeTo(position(0, 1), ZcGePoint3d(std::log10(2.0), 0, 0)));
  EXPECT_TRUE(closeTo(position(0, 10), position(0, 9)));
  EXPECT_TRUE(closeTo(position(1, 10), position(1, 9) + ZcGeVector3d(std::log10(11.0), 0, 0)));
}

TEST_F(RandomArrayCommandTest, NoUsableDistanceOrASinglePositionCopiesNothing) {
  addLine(0);
  for (const wchar_t* distance : {L"\n", L"^C\n", L"0.00005\n"}) {
    transcript_.clear();
    run(std::wstring(L"PLRNDArray\nALL\n\n5\n") + distance);
    EXPECT_TRUE(said("equal distance:")) << transcript_;
    EXPECT_FALSE(said("angle")) << distance << transcript_;
  }
  run(L"PLRNDArray\nALL\n\n1\n1\n\n\n");
  // Exponential steps of e^3 * 1e308 leave the numbers, and 1e200 is finite but beyond any
  // drawing (its lengths would overflow): both refused before any copy is made.
  for (const wchar_t* distance : {L"1e308", L"1e200"}) {
    transcript_.clear();
    run(std::wstring(L"PLRNDArray\nALL\n\n12\n") + distance + L"\n0\n4\n\n");
    EXPECT_TRUE(said("The distance is too large")) << distance << transcript_;
  }
  EXPECT_EQ(modelSpace().size(), 1u) << transcript_;

  chineseVersion = true;
  run(L"PLRNDArray\n\n");
  EXPECT_TRUE(said("请选择各种线条>\n")) << transcript_;
  EXPECT_TRUE(said("未选中任何线条。\n")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
