#include "image/ExternalVectorize.h"

#include "frame/SystemVariables.h"
#include "image/ExternalTracer.h"
#include "image/TracedBlockPruning.h"
#include "outline/BoundaryCalls.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/platform/zcfile.h"
#include "zcad/zced.h"

namespace veltrace {

ZcDbObjectId insertTracedDrawing(const std::wstring& dxfPath, int clutter) {
  const ZcDbObjectId before = lastEntity();
  {
    QuietHostCommands quiet;
    zcedCommand(RTSTR, L"_INSERT", RTSTR, dxfPath.c_str(), RTSTR, L"\\", RTREAL, 1.0, RTREAL, 1.0, RTREAL,
                0.0, RTNONE);
  }
  DeleteFileW(dxfPath.c_str());
  const ZcDbObjectId inserted = lastEntity();
  if (inserted.isNull() || inserted == before) return ZcDbObjectId();
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, inserted, ZcDb::kForRead) != Zcad::eOk) return ZcDbObjectId();
  const bool isReference = ZcDbBlockReference::cast(entity) != nullptr;
  entity->close();
  if (!isReference) return ZcDbObjectId();
  pruneTracedBlock(inserted, clutter);
  return inserted;
}

ZcDbObjectId vectorizeWithTracer(const std::wstring& bmpPath, int clutter) {
  const TracerRun run = runExternalTracer(bmpPath);
  if (run.outcome != TracerOutcome::kTraced) return ZcDbObjectId();
  return insertTracedDrawing(run.dxfPath, clutter);
}

}  // namespace veltrace
