#include "editor/EntityAtPoint.h"

#include <algorithm>
#include <cwchar>

#include "editor/EntityPick.h"
#include "editor/InputParsing.h"
#include "editor/SelectableEntities.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbHandle.h"
#include "zcad/zced.h"

namespace vtcad::editor {
namespace {

double sysVar(const wchar_t* name, double fallback) {
  resbuf value{};
  if (zcedGetVar(name, &value) != RTNORM) return fallback;
  if (value.restype == RTREAL) return value.resval.rreal;
  if (value.restype == RTSHORT) return value.resval.rint;
  return fallback;
}

}  // namespace

double pixelSize() {
  resbuf screen{};
  double pixelsHigh = 1000.0;
  if (zcedGetVar(L"SCREENSIZE", &screen) == RTNORM && screen.restype == RTPOINT &&
      screen.resval.rpoint[1] > 0.0) {
    pixelsHigh = screen.resval.rpoint[1];
  }
  return sysVar(L"VIEWSIZE", 297.0) / pixelsHigh;
}

double pickAperture() { return std::max(1.0, sysVar(L"PICKBOX", 3.0)) * pixelSize(); }

ZcDbObjectId entityByHandle(std::wstring_view hex) {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db || hex.empty() || hex.size() > 16) return {};
  std::wstring text(hex);
  ZcDbHandle handle(text.c_str());
  ZcDbObjectId id;
  if (db->getZcDbObjectId(id, /*createIfNotFound=*/false, handle) != Zcad::eOk || id.isNull()) return {};
  // Only what a pick could reach: an entity of the current space that may be selected.
  for (const SelectableEntity& entity : selectableEntities(*db)) {
    if (entity.id == id) return id;
  }
  return {};
}

EntityAt entityAtInput(const InputItem& item, const ZcGePoint3d& lastPoint) {
  EntityAt result;
  ZcDbDatabase* db = zcdbCurDwg();
  if (item.kind == InputItem::Kind::kEntity) {
    if (item.entity.isNull() || !item.entity.isValid() || item.entity.isErased()) {
      result.status = EntityAtStatus::kNothingThere;
      return result;
    }
    result.status = EntityAtStatus::kFound;
    result.id = item.entity;
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, item.entity, ZcDb::kForRead) == Zcad::eOk) {
      ZcDbExtents box;
      if (entity->getGeomExtents(box) == Zcad::eOk)
        result.point = box.minPoint() + (box.maxPoint() - box.minPoint()) / 2.0;
      entity->close();
    }
    return result;
  }
  if (item.kind == InputItem::Kind::kText) {
    if (auto hex = handleReference(item.text)) {
      result.id = entityByHandle(*hex);
      result.status = result.id.isNull() ? EntityAtStatus::kNothingThere : EntityAtStatus::kFound;
      return result;
    }
  }
  std::optional<ZcGePoint3d> point;
  if (item.kind == InputItem::Kind::kPoint) point = item.point;
  if (item.kind == InputItem::Kind::kText) point = parsePoint(item.text, lastPoint);
  if (!point) return result;
  result.point = *point;
  result.status = EntityAtStatus::kNothingThere;
  if (!db) return result;
  PickResult picked = pickEntity(*db, ZcGePoint2d(point->x, point->y), pickAperture(), pixelSize());
  if (!picked.id.isNull()) {
    result.id = picked.id;
    result.status = EntityAtStatus::kFound;
  }
  return result;
}

}  // namespace vtcad::editor
