#include <algorithm>
#include <array>
#include <cmath>

#include "frame/CoordinateConversion.h"
#include "frame/CurveLength.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "morph/FenceMapping.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr double kSmallestBoxSide = 0.001;
constexpr int kDefaultPrecision = 3;
constexpr int kMaxPrecision = 10;

struct Box {
  ZcGePoint3d cornerA;  // (minX, maxY, z)
  ZcGePoint3d cornerB;  // (maxX, minY, z)
};

// The box from two corners in either order; nullopt when the user cancels a corner (Esc, or
// the end of a script): asking again would never end.
std::optional<Box> askBox() {
  for (;;) {
    zds_point first = {0, 0, 0};
    int answer = RTNONE;
    while ((answer = getPointBilingual(/*base=*/nullptr, L"\n指定范围左下角: ",
                                       L"\nPlease pick point for lower left corner. ", first)) != RTNORM) {
      if (answer == RTCAN) return std::nullopt;
    }
    zds_point second = {0, 0, 0};
    while (
        (answer = zcedGetCorner(
             first, chineseVersion ? L"\n指定范围右上角: " : L"\nPlease pick point for right upper corner. ",
             second)) != RTNORM) {
      if (answer == RTCAN) return std::nullopt;
    }
    ZcGePoint3d p1(first[0], first[1], first[2]);
    ZcGePoint3d p2(second[0], second[1], second[2]);
    ucsToWcs(p1);
    ucsToWcs(p2);
    const bool low = std::abs(p2.y - p1.y) < kSmallestBoxSide;
    const bool narrow = std::abs(p2.x - p1.x) < kSmallestBoxSide;
    if (low) printBilingual(L"\n指定的矩形框高度不允许小于0.001.", L"\nBox height cannot less than 0.001.");
    if (narrow) printBilingual(L"\n指定的矩形框宽度不允许小于0.001.", L"\nBox width cannot less than 0.001.");
    if (low || narrow) continue;
    return Box{ZcGePoint3d(std::min(p1.x, p2.x), std::max(p1.y, p2.y), p1.z),
               ZcGePoint3d(std::max(p1.x, p2.x), std::min(p1.y, p2.y), p1.z)};
  }
}

int askPrecision() {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/L"");
  int value = kDefaultPrecision;
  if (getIntBilingual(L"\n请输入精度，允许值1--10，默认值3:",
                      L"\nPlease input the precision, allowable 1--10, default 3:", &value) != RTNORM) {
    return kDefaultPrecision;
  }
  return std::clamp(value, 1, kMaxPrecision);
}

// The four fence curves, open for read for the rest of the command.
class FenceCurves {
 public:
  ~FenceCurves() {
    for (ZcDbCurve* curve : curves_) {
      if (curve) curve->close();
    }
  }
  // 0 top, 1 bottom, 2 left, 3 right. False when one cannot be opened.
  bool open(const std::array<ZcDbObjectId, 4>& ids, bool& allCurves) {
    allCurves = true;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      ZcDbObject* object = nullptr;
      if (zcdbOpenObject(object, ids[i], ZcDb::kForRead) != Zcad::eOk) return false;
      curves_[i] = ZcDbCurve::cast(object);
      if (!curves_[i]) {
        object->close();
        allCurves = false;
      }
    }
    return true;
  }
  ZcDbCurve& operator[](std::size_t i) const { return *curves_[i]; }

 private:
  std::array<ZcDbCurve*, 4> curves_{};
};

struct CurveEnds {
  ZcGePoint3d start, end;
};

CurveEnds endsOf(const ZcDbCurve& curve) {
  CurveEnds ends;
  (void)curve.getStartPoint(ends.start);
  (void)curve.getEndPoint(ends.end);
  return ends;
}

// Reversed in the drawing; a curve that cannot be opened for write keeps its direction.
void reverseInDrawing(ZcDbCurve& curve) {
  if (curve.upgradeOpen() != Zcad::eOk) return;
  (void)curve.reverseCurve();
  (void)curve.downgradeOpen();
}

}  // namespace

void plmap4Command() {
  const ObjectIdList curves = selectCurves(L"\n请选择将被投影的曲线>", L"Please select Curves >\n");
  if (curves.empty()) return;
  const std::optional<Box> box = askBox();
  if (!box) return;

  const MessagePair fencePrompts[] = {
      {L"\n请选择第一根曲线(对应顶部)： ", L"\nPlease select the first curve(top): "},
      {L"\n请选择第二根曲线(对应底部)： ", L"\nPlease select the second curve(bottom): "},
      {L"\n请选择第3根曲线(对应左侧)： ", L"\nPlease select the 3nd curve(left): "},
      {L"\n请选择第4根曲线(对应右侧)： ", L"\nPlease select the 4th curve(right): "},
  };
  std::array<ZcDbObjectId, 4> ids;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    zds_name entity = {0, 0};
    zds_point picked = {0, 0, 0};
    if (entSelBilingual(fencePrompts[i].chinese, fencePrompts[i].english, entity, picked) != RTNORM ||
        zcdbGetObjectId(ids[i], entity) != Zcad::eOk) {
      printBilingual(L"\n未选中。", L"\nSelected nothing.");
      return;
    }
  }
  const int precision = askPrecision();

  FenceCurves fence;
  bool allCurves = true;
  if (!fence.open(ids, allCurves)) return;
  if (!allCurves) {
    printBilingual(L"\n错误：选中的不是曲线。", L"\nError: not a curve selected.");
    return;
  }
  // Top and bottom run from the left side to the right side, the sides from the bottom up.
  const CurveEnds t = endsOf(fence[0]);
  const CurveEnds b = endsOf(fence[1]);
  const CurveEnds l = endsOf(fence[2]);
  const CurveEnds r = endsOf(fence[3]);
  if (t.start.distanceTo(l.start) > t.end.distanceTo(l.start) ||
      t.start.distanceTo(l.end) > t.end.distanceTo(l.end)) {
    reverseInDrawing(fence[0]);
  }
  if (b.end.distanceTo(r.start) > b.start.distanceTo(r.start) ||
      b.end.distanceTo(r.end) > b.start.distanceTo(r.end)) {
    reverseInDrawing(fence[1]);
  }
  if (b.start.distanceTo(l.start) > b.start.distanceTo(l.end)) reverseInDrawing(fence[2]);
  if (b.end.distanceTo(r.start) > b.end.distanceTo(r.end)) reverseInDrawing(fence[3]);
  const double size = std::max({t.start.distanceTo(t.end), b.start.distanceTo(b.end),
                                r.start.distanceTo(r.end), l.start.distanceTo(l.end)});

  const Fence shape{&fence[0], &fence[1], &fence[2], &fence[3]};
  for (ZcDbObjectId id : curves) {
    if (zcedUsrBrk()) return;
    ReadOpen<ZcDbObject> opened(id);
    const ZcDbCurve* curve = ZcDbCurve::cast(opened.get());
    if (!curve) continue;
    const double length = curveLength(*curve).value_or(0.0);
    (void)mapCurveToFence(fenceSampleCount(length, size, precision), box->cornerA, box->cornerB, *curve,
                          shape);
  }
}

}  // namespace veltrace
