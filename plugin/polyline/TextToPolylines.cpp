#include "polyline/TextToPolylines.h"

#include "frame/FilteredSelection.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/SelectionSet.h"
#include "frame/SystemVariables.h"
#include "frame/TempFiles.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbViewportTable.h"
#include "zcad/platform/zcfile.h"
#include "zcad/zced.h"
#include "zcad/zcut.h"
#include "zcad/zds.h"

namespace veltrace {
namespace {

constexpr MessagePair kPrompt{L"请选择文字>\n", L"Please select TEXT >\n"};
constexpr MessagePair kNothing{L"未选中。\n", L"No selected.\n"};
// Multiline texts move to a set of their own: mirroring keeps them readable whatever MIRRTEXT
// says, so their outlines come through the metafile without the mirror and back; the number
// moved.
int takeMultilineTexts(SelectionSet& set, SelectionSet& mtexts) {
  int moved = 0;
  for (ZcDbObjectId id : selectionSetIds(set.name)) {
    ReadOpen<ZcDbMText> mtext(id);
    if (!mtext.get()) continue;
    zds_name name = {0, 0};
    if (zcdbGetZdsName(name, id) != Zcad::eOk) continue;
    // The first member makes the set; the others join it.
    if (zcedSSAdd(name, moved == 0 ? nullptr : mtexts.name, mtexts.name) != RTNORM) continue;
    zcedSSDel(name, set.name);
    ++moved;
  }
  return moved;
}

ZcDbExtents extentsOfSet(const SelectionSet& set) {
  ZcDbExtents box;
  for (ZcDbObjectId id : selectionSetIds(set.name)) {
    ReadOpen<ZcDbEntity> entity(id);
    ZcDbExtents part;
    if (entity.get() && entity.get()->getGeomExtents(part) == Zcad::eOk) box.addExt(part);
  }
  return box;
}

// The active view's upper-left corner, from its record's centre, width and height.
ZcGePoint3d viewUpperLeft() {
  double cx = 0.0, cy = 0.0, width = 0.0, height = 0.0;
  getSysVarPoint2d(L"VIEWCTR", cx, cy);
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  ZcDbViewportTable* table = nullptr;
  if (db && db->getViewportTable(table, ZcDb::kForRead) == Zcad::eOk) {
    ZcDbViewportTableRecord* active = nullptr;
    if (table->getAt(L"*Active", active, ZcDb::kForRead) == Zcad::eOk) {
      width = active->width();
      height = active->height();
      active->close();
    }
    table->close();
  }
  return ZcGePoint3d(cx - width / 2, cy + height / 2, 0.0);
}

// The set's texts replaced by a block of their outlines: zoomed to, written with WMFOUT and read
// back with WMFIN on the view's upper-left corner at scale 2, then erased. `mirrored`: the texts
// are mirrored before and the outlines back after (single-line texts, MIRRTEXT 1).
void replaceByOutlines(const SelectionSet& set, bool mirrored) {
  const ZcDbExtents box = extentsOfSet(set);
  const double cx = (box.minPoint().x + box.maxPoint().x) / 2, cy = (box.minPoint().y + box.maxPoint().y) / 2;
  const zds_point mirrorFrom = {cx, cy, 0.0};
  const zds_point mirrorTo = {cx, cy + 1000.0, 0.0};
  const zds_point low = {box.minPoint().x, box.minPoint().y, 0.0};
  const zds_point high = {box.maxPoint().x, box.maxPoint().y, 0.0};
  QuietHostCommands quiet;
  zcedCommand(RTSTR, L"_ZOOM", RT3DPOINT, low, RT3DPOINT, high, RTNONE);
  if (mirrored) {
    zcedCommand(RTSTR, L"_MIRROR", RTPICKS, set.name, RTSTR, L"", RT3DPOINT, mirrorFrom, RT3DPOINT, mirrorTo,
                RTSTR, L"Y", RTNONE);
  }
  const std::wstring path = tempFilePath(L".wmf");
  zcedCommand(RTSTR, L"_WMFOUT", RTSTR, path.c_str(), RTPICKS, set.name, RTSTR, L"", RTNONE);
  const ZcGePoint3d corner = viewUpperLeft();
  const zds_point insertion = {corner.x, corner.y, 0.0};
  zcedCommand(RTSTR, L"_WMFIN", RTSTR, path.c_str(), RT3DPOINT, insertion, RTSHORT, 2, RTSHORT, 2, RTSHORT, 0,
              RTNONE);
  zcedCommand(RTSTR, L"_ERASE", RTPICKS, set.name, RTSTR, L"", RTNONE);
  if (mirrored) {
    zcedCommand(RTSTR, L"_MIRROR", RTSTR, L"L", RTSTR, L"", RT3DPOINT, mirrorFrom, RT3DPOINT, mirrorTo, RTSTR,
                L"Y", RTNONE);
  }
  DeleteFileW(path.c_str());
}

}  // namespace

void txt2plCommand() {
  SelectionSet set;
  const ResbufChain filter(zcutBuildList(-4, L"<or", RTDXF0, L"TEXT", RTDXF0, L"MTEXT", -4, L"or>", 0));
  if (!selectFiltered(set, kPrompt, filter, kNothing)) return;
  SelectionSet mtexts;
  const int multiline = takeMultilineTexts(set, mtexts);
  Zdesk::Int32 length = 0;
  if (zcedSSLength(set.name, &length) == RTNORM && length > 0) {
    const int mirrtext = getSysVarIntOr(L"MIRRTEXT");
    setSysVarQuiet(L"MIRRTEXT", 1);
    replaceByOutlines(set, /*mirrored=*/true);
    if (mirrtext != kSysVarUnreadable) setSysVarQuiet(L"MIRRTEXT", static_cast<short>(mirrtext));
  }
  if (multiline > 0) replaceByOutlines(mtexts, /*mirrored=*/false);
}

}  // namespace veltrace
