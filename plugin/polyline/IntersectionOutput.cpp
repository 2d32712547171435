#include "polyline/IntersectionOutput.h"

#include <cmath>
#include <string>

#include "export/ListCommand.h"
#include "export/ListDocument.h"
#include "export/ListFile.h"
#include "export/ListFilePrompt.h"
#include "frame/EntityPlacement.h"
#include "frame/Messages.h"
#include "frame/SystemVariables.h"
#include "polyline/VertexMarks.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/platform/zcui.h"

namespace veltrace {

namespace {

// Point display of the marks: a circle with a cross.
constexpr short kMarkPointMode = 35;

constexpr ListColumn kListColumns[] = {
    {10, {L"序号", L"序号"}},
    {30, {L"X坐标", L"X坐标"}},
    {30, {L"Y坐标", L"Y坐标"}},
    {30, {L"Z坐标", L"Z坐标"}},
};
// The data rows' own widths (the y and z cells are narrower than their header cells).
constexpr int kNumberWidth = 10;
constexpr int kXWidth = 30;
constexpr int kYZWidth = 20;

constexpr const wchar_t* kCreationFailure = L"Create file <%s> fail.";

bool isFinite(const ZcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The block table record of `name` in the working drawing, when it can be inserted.
ZcDbObjectId insertableBlock(const std::wstring& name) {
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  ZcDbBlockTable* table = nullptr;
  if (!db || name.empty() || db->getBlockTable(table, ZcDb::kForRead) != Zcad::eOk)
    return ZcDbObjectId::kNull;
  ZcDbObjectId id;
  const bool found = table->getAt(name.c_str(), id) == Zcad::eOk;
  table->close();
  if (!found) return ZcDbObjectId::kNull;
  ZcDbBlockTableRecord* record = nullptr;
  if (zcdbOpenObject(record, id, ZcDb::kForRead) != Zcad::eOk) return ZcDbObjectId::kNull;
  const bool layout = record->isLayout();
  record->close();
  return layout ? ZcDbObjectId::kNull : id;
}

}  // namespace

void markPoints(const IntersectionPoints& points, bool numbered) {
  const double height = numbered ? askMarkHeight(defaultMarkHeight()) : 0.0;
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  for (size_t i = 0; i < points.size(); ++i) {
    if (numbered) {
      markVertex(points[i], height, static_cast<int>(i));
    } else if (db && isFinite(points[i])) {
      auto* dot = new ZcDbPoint(points[i]);
      dot->setDatabaseDefaults(db);
      if (!appendToCurrentSpace(dot).placed()) delete dot;
    }
  }
  setSysVarInt(L"PDMODE", kMarkPointMode);
}

void writeIntersectionList(const IntersectionPoints& points) {
  const std::wstring chosen = askListFileName(L"交点坐标文件 (*.xls)|*.xls|");
  if (chosen.empty()) return;
  const std::wstring path = listFileName(chosen);
  ListFile file;
  if (!file.create(path)) {
    AfxMessageBox(withPath(kCreationFailure, path).c_str(), MB_OK);
    return;
  }
  ListDocument document(file, path, L"交点坐标", kListColumns);
  for (size_t i = 0; i < points.size(); ++i) {
    document.beginRow(RowColour::kPlain);
    document.integerCell(kNumberWidth, static_cast<int>(i + 1));
    document.realCell(kXWidth, points[i].x);
    document.realCell(kYZWidth, points[i].y);
    document.realCell(kYZWidth, points[i].z);
    document.endRow();
  }
  document.finish();
  // A file that could not be written whole is not left half written (ListFile): say so as
  // for a file that could not be made.
  if (!file.commit()) {
    AfxMessageBox(withPath(kCreationFailure, path).c_str(), MB_OK);
    return;
  }
  openListFile(path);
}

void insertBlockAtPoints(const IntersectionPoints& points, const std::wstring& name) {
  const ZcDbObjectId block = insertableBlock(name);
  if (block.isNull()) {
    printBilingual(L"\n图块名错误！", L"\nBlock name error！");
    return;
  }
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  for (const ZcGePoint3d& point : points) {
    if (!isFinite(point)) continue;
    auto* reference = new ZcDbBlockReference(point, block);
    reference->setDatabaseDefaults(db);
    if (!appendToCurrentSpace(reference).placed()) delete reference;
  }
}

}  // namespace veltrace
