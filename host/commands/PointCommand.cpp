// POINT: one point object where the user says, after showing how points are displayed
// (PDMODE, PDSIZE).
#include <memory>
#include <string>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/zced.h"

namespace vtcad::commands {

void pointCommand() {
  using namespace draw;
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  say(L"\nCurrent point modes:  PDMODE=" + std::to_wstring(db->pdmode()) + L"  PDSIZE=" +
      formatLength(db->pdsize()));
  Answer<ZcGePoint3d> at = getPoint(nullptr, L"\nSpecify a point: ", {.bits = RSG_NONULL});
  if (!at.isValue()) return;
  addEntity(db, std::make_unique<ZcDbPoint>(at.value));
}

}  // namespace vtcad::commands
