#include "outline/BoundaryCalls.h"

#include "frame/ReadOpen.h"
#include "frame/SelectionSet.h"
#include "frame/SystemVariables.h"
#include "outline/EntityVisibility.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

ZcDbObjectId lastEntity() {
  zds_name name = {0, 0};
  ZcDbObjectId id;
  if (zcdbEntLast(name) == RTNORM) zcdbGetObjectId(id, name);
  return id;
}

ObjectIdList entitiesAfter(ZcDbObjectId last, std::size_t limit) {
  ObjectIdList ids;
  zds_name current = {0, 0};
  const bool fromStart = last.isNull();
  if (!fromStart && zcdbGetZdsName(current, last) != Zcad::eOk) return ids;
  while (ids.size() < limit) {
    zds_name next = {0, 0};
    if (zcdbEntNext(fromStart && ids.empty() ? nullptr : current, next) != RTNORM) break;
    ZcDbObjectId id;
    if (zcdbGetObjectId(id, next) != Zcad::eOk) break;
    ids.push_back(id);
    current[0] = next[0];
    current[1] = next[1];
  }
  return ids;
}

ObjectIdList boundariesAt(const ZcGePoint3d& point) {
  const ZcDbObjectId before = lastEntity();
  const zds_point pick = {point.x, point.y, point.z};
  {
    QuietHostCommands quiet;
    zcedCommand(RTSTR, L"_BOUNDARY", RT3DPOINT, pick, RTSTR, L"", RTNONE);
  }
  // A boundary search finds at most the area's outline and its islands; a hundred keeps a
  // runaway from costing the rest of the command.
  return entitiesAfter(before, /*limit=*/100);
}

void eraseWithHost(const ObjectIdList& ids) {
  if (ids.empty()) return;
  SelectionSet set;
  for (ZcDbObjectId id : ids) {
    zds_name name = {0, 0};
    if (zcdbGetZdsName(name, id) != Zcad::eOk) continue;
    zds_name grown = {0, 0};
    // The first zcedSSAdd makes the set; the others add to it in place.
    if (zcedSSAdd(name, set.name[0] == 0 && set.name[1] == 0 ? nullptr : set.name, grown) != RTNORM) continue;
    set.name[0] = grown[0];
    set.name[1] = grown[1];
  }
  QuietHostCommands quiet;
  zcedCommand(RTSTR, L"erase", RTPICKS, set.name, RTSTR, L"", RTNONE);
}

double enclosedArea(ZcDbObjectId id) {
  ReadOpen<ZcDbCurve> curve(id);
  double area = 0.0;
  if (!curve.get() || curve.get()->getArea(area) != Zcad::eOk) return 0.0;
  return area;
}

HiddenWhileWorking::~HiddenWhileWorking() { showEntities(ids); }

}  // namespace veltrace
