#include "commands/CurrentView.h"

#include <cmath>

#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbViewportTable.h"

namespace vtcad::commands {
namespace {

constexpr const ZTCHAR* kActiveViewport = L"*Active";

bool isUsable(const ViewArea& view) {
  return std::isfinite(view.center.x) && std::isfinite(view.center.y) && std::isfinite(view.height) &&
         std::isfinite(view.width) && view.height > 0.0 && view.width > 0.0;
}

// Opens "*Active" for write, adding it when the table has none.
Zcad::ErrorStatus openActiveForWrite(ZcDbDatabase* db, ZcDbViewportTableRecord*& record) {
  record = nullptr;
  ZcDbViewportTable* table = nullptr;
  Zcad::ErrorStatus es = db->getViewportTable(table, ZcDb::kForRead);
  if (es != Zcad::eOk) return es;
  ZcDbObjectId recordId;
  if (table->getAt(kActiveViewport, recordId) == Zcad::eOk) {
    table->close();
    return zcdbOpenObject(record, recordId, ZcDb::kForWrite);
  }
  es = table->upgradeOpen();
  if (es != Zcad::eOk) {
    table->close();
    return es;
  }
  auto* created = new ZcDbViewportTableRecord();
  created->setName(kActiveViewport);
  es = table->add(created);
  table->close();
  if (es != Zcad::eOk) {
    delete created;
    return es;
  }
  record = created;  // added records stay open for write
  return Zcad::eOk;
}

}  // namespace

Zcad::ErrorStatus getCurrentView(ZcDbDatabase* db, ViewArea& view) {
  view = ViewArea{};
  if (!db) return Zcad::eNullObjectId;
  ZcDbViewportTable* table = nullptr;
  Zcad::ErrorStatus es = db->getViewportTable(table, ZcDb::kForRead);
  if (es != Zcad::eOk) return es;
  ZcDbViewportTableRecord* record = nullptr;
  es = table->getAt(kActiveViewport, record, ZcDb::kForRead);
  table->close();
  if (es == Zcad::eKeyNotFound) return Zcad::eOk;  // no record: the defaults
  if (es != Zcad::eOk) return es;
  view.center = record->centerPoint();
  view.height = record->height();
  view.width = record->width();
  record->close();
  return Zcad::eOk;
}

Zcad::ErrorStatus setCurrentView(ZcDbDatabase* db, const ViewArea& view) {
  if (!db) return Zcad::eNullObjectId;
  if (!isUsable(view)) return Zcad::eInvalidInput;
  ZcDbViewportTableRecord* record = nullptr;
  Zcad::ErrorStatus es = openActiveForWrite(db, record);
  if (es != Zcad::eOk) return es;
  es = record->setCenterPoint(view.center);
  if (es == Zcad::eOk) es = record->setHeight(view.height);
  if (es == Zcad::eOk) es = record->setWidth(view.width);
  if (es == Zcad::eOk) {
    record->close();
  } else {
    record->cancel();  // all three or none
  }
  return es;
}

Zcad::ErrorStatus setCurrentView(ZcDbDatabase* db, const ZcGePoint2d& center, double height) {
  ViewArea view;
  const Zcad::ErrorStatus es = getCurrentView(db, view);
  if (es != Zcad::eOk) return es;
  const double aspect = view.aspect();
  view.center = center;
  view.height = height;
  view.width = height * aspect;
  return setCurrentView(db, view);
}

}  // namespace vtcad::commands
