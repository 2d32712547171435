#include "polyline/CurveIntersections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "frame/CoordinateConversion.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "frame/SelectionSet.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

// Points closer than this are one point.
constexpr double kSamePoint = 0.0001;
// The output option when none (or one out of range) is given: numbered marks.
constexpr int kDefaultOption = 2;

constexpr MessagePair kNoIntersection{L"\n没有找到交点。", L"\nNo intersection found."};

int askOutputOption() {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
  int option = kDefaultOption;
  const int rc = getIntBilingual(
      L"\n在交点处：1、添加标记点; 2、标记点+编号; 3、标记点+编号+输出坐标列表; 4、插入图块。 (2):",
      L"\n1.Add marked points; 2.Mark point + number; 3.Mark point + number + output coordinate list; "
      L"4.Insert "
      L"the block. (2):",
      &option);
  if (rc != RTNORM || option < 1 || option > 4) return kDefaultOption;
  return option;
}

void outputPoints(const IntersectionPoints& points, int option) {
  switch (option) {
    case 1:
      markPoints(points, /*numbered=*/false);
      break;
    case 3:
      writeIntersectionList(points);
      markPoints(points, /*numbered=*/true);
      break;
    case 4: {
      wchar_t name[512] = {};
      if (zcedGetString(/*cronly=*/0,
                        chineseVersion ? L"\n请输入图块名称：" : L"\nPlease enter the block name：", name,
                        std::size(name)) != RTNORM)
        name[0] = L'\0';
      insertBlockAtPoints(points, name);
      break;
    }
    default:
      markPoints(points, /*numbered=*/true);
      break;
  }
}

// The points where `a` meets the curve `id` (on both, not extended).
void appendIntersections(const ZcDbEntity& a, ZcDbObjectId id, IntersectionPoints& points) {
  ReadOpen<ZcDbEntity> b(id);
  if (!b.get()) return;
  ZcGePoint3dArray found;
  if (a.intersectWith(b.get(), ZcDb::kOnBothOperands, found) != Zcad::eOk) return;
  for (int k = 0; k < found.length(); ++k) points.push_back(found[k]);
}

struct Extent {
  size_t index = 0;
  ZcDbExtents box;
};

bool overlap(const ZcDbExtents& a, const ZcDbExtents& b, double margin) {
  return a.minPoint().x <= b.maxPoint().x + margin && b.minPoint().x <= a.maxPoint().x + margin &&
         a.minPoint().y <= b.maxPoint().y + margin && b.minPoint().y <= a.maxPoint().y + margin &&
         a.minPoint().z <= b.maxPoint().z + margin && b.minPoint().z <= a.maxPoint().z + margin;
}

// Pairs (i, j), i < j, whose extents meet, in (i, j) order.
std::vector<std::pair<size_t, size_t>> candidatePairs(const std::vector<ZcDbObjectId>& curves) {
  std::vector<Extent> extents;
  extents.reserve(curves.size());
  for (size_t i = 0; i < curves.size(); ++i) {
    ReadOpen<ZcDbEntity> entity(curves[i]);
    Extent e{i, {}};
    if (entity.get() && entity.get()->getGeomExtents(e.box) == Zcad::eOk && !e.box.isEmpty())
      extents.push_back(e);
  }
  std::sort(extents.begin(), extents.end(),
            [](const Extent& a, const Extent& b) { return a.box.minPoint().x < b.box.minPoint().x; });
  std::vector<std::pair<size_t, size_t>> pairs;
  for (size_t k = 0; k < extents.size(); ++k) {
    const ZcDbExtents& a = extents[k].box;
    // Curves touching at their extents' edges still meet: a margin of the points' tolerance.
    for (size_t m = k + 1; m < extents.size() && extents[m].box.minPoint().x <= a.maxPoint().x + kSamePoint;
         ++m) {
      if (!overlap(a, extents[m].box, kSamePoint)) continue;
      pairs.emplace_back(std::min(extents[k].index, extents[m].index),
                         std::max(extents[k].index, extents[m].index));
    }
  }
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

class PointGrid {
 public:
  // False when a kept point lies closer than kSamePoint; else keeps the point.
  bool keep(const ZcGePoint3d& p) {
    const int64_t cx = cell(p.x), cy = cell(p.y), cz = cell(p.z);
    for (int64_t dx = -1; dx <= 1; ++dx)
      for (int64_t dy = -1; dy <= 1; ++dy)
        for (int64_t dz = -1; dz <= 1; ++dz) {
          const auto it = cells_.find(key(cx + dx, cy + dy, cz + dz));
          if (it == cells_.end()) continue;
          for (const ZcGePoint3d& q : it->second)
            if (q.distanceTo(p) < kSamePoint) return false;
        }
    cells_[key(cx, cy, cz)].push_back(p);
    return true;
  }

 private:
  static int64_t cell(double v) { return static_cast<int64_t>(std::floor(v / kSamePoint)); }
  static uint64_t key(int64_t x, int64_t y, int64_t z) {
    return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
           static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
           static_cast<uint64_t>(z) * 0x165667B19E3779F9ull;
  }
  std::unordered_map<uint64_t, std::vector<ZcGePoint3d>> cells_;
};

// Distance along `curve` of a point found on it; a point the curve does not take as its own
// goes by its closest point.
double distanceAlong(const ZcDbCurve& curve, const ZcGePoint3d& point) {
  double dist = 0.0;
  if (curve.getDistAtPoint(point, dist) == Zcad::eOk) return dist;
  ZcGePoint3d on;
  if (curve.getClosestPointTo(point, on) == Zcad::eOk && curve.getDistAtPoint(on, dist) == Zcad::eOk)
    return dist;
  return 0.0;
}

}  // namespace

IntersectionPoints intersectAllPairs(const std::vector<ZcDbObjectId>& curves) {
  IntersectionPoints points;
  const std::vector<std::pair<size_t, size_t>> pairs = candidatePairs(curves);
  for (size_t k = 0; k < pairs.size();) {
    // Curve i stays open for all its partners.
    const size_t i = pairs[k].first;
    ReadOpen<ZcDbEntity> a(curves[i]);
    for (; k < pairs.size() && pairs[k].first == i; ++k)
      if (a.get()) appendIntersections(*a.get(), curves[pairs[k].second], points);
  }
  return points;
}

IntersectionPoints removeRepeatedPoints(const IntersectionPoints& points) {
  IntersectionPoints kept;
  PointGrid grid;
  for (const ZcGePoint3d& p : points)
    if (grid.keep(p)) kept.push_back(p);
  return kept;
}

void pljdCommand() {
  const ObjectIdList curves = selectCurves(nullptr, nullptr);
  if (curves.empty()) return;
  const int option = askOutputOption();
  const IntersectionPoints points = removeRepeatedPoints(intersectAllPairs(curves));
  if (points.empty()) {
    printBilingual(kNoIntersection.chinese, kNoIntersection.english);
    return;
  }
  outputPoints(points, option);
}

void pljd1Command() {
  zds_name picked = {0, 0};
  zds_point pickPoint = {0, 0, 0};
  if (entSelBilingual(L"\n请选择一根曲线: ", L"\nPlease select a curve: ", picked, pickPoint) != RTNORM) {
    printBilingual(L"\nNothing selected", L"\nNothing selected");
    return;
  }
  ZcDbObjectId pickedId;
  ZcDbExtents extents;
  bool isCurve = false;
  if (zcdbGetObjectId(pickedId, picked) == Zcad::eOk) {
    ReadOpen<ZcDbEntity> entity(pickedId);
    isCurve =
        entity.get() && ZcDbCurve::cast(entity.get()) && entity.get()->getGeomExtents(extents) == Zcad::eOk;
  }
  if (!isCurve) {
    printBilingual(L"\n错误：选中的不是曲线。", L"\nError: not a curve selected.");
    return;
  }

  // The curves crossing the picked curve's extents (the picked one among them).
  ObjectIdList crossing;
  {
    SelectionSet set;
    const ResbufChain filter = curveFilter();
    const zds_point lo = {extents.minPoint().x, extents.minPoint().y, extents.minPoint().z};
    const zds_point hi = {extents.maxPoint().x, extents.maxPoint().y, extents.maxPoint().z};
    if (zcedSSGet(L"_C", lo, hi, filter.get(), set.name) == RTNORM) crossing = selectionSetIds(set.name);
  }
  if (crossing.empty()) {
    printBilingual(L"没有相交的曲线。\n", L"No Curve intersected.\n");
    return;
  }
  const int option = askOutputOption();

  IntersectionPoints points;
  {
    ReadOpen<ZcDbEntity> a(pickedId);
    if (a.get())
      for (const ZcDbObjectId& id : crossing)
        if (id != pickedId) appendIntersections(*a.get(), id, points);
  }
  points = removeRepeatedPoints(points);
  if (points.empty()) {
    printBilingual(kNoIntersection.chinese, kNoIntersection.english);
    return;
  }

  // Along the picked curve from its start; from its end when the pick lies nearer to that.
  {
    ReadOpen<ZcDbCurve> curve(pickedId);
    if (curve.get()) {
      std::vector<std::pair<double, ZcGePoint3d>> along;
      for (const ZcGePoint3d& p : points) along.emplace_back(distanceAlong(*curve.get(), p), p);
      std::stable_sort(along.begin(), along.end(),
                       [](const auto& x, const auto& y) { return x.first < y.first; });
      for (size_t k = 0; k < along.size(); ++k) points[k] = along[k].second;
      ZcGePoint3d pick(pickPoint[0], pickPoint[1], pickPoint[2]), start, end;
      ucsToWcs(pick);
      if (curve.get()->getStartPoint(start) == Zcad::eOk && curve.get()->getEndPoint(end) == Zcad::eOk &&
          pick.distanceTo(start) > pick.distanceTo(end))
        std::reverse(points.begin(), points.end());
    }
  }
  outputPoints(points, option);
}

}  // namespace veltrace
