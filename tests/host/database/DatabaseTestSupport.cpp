#include "DatabaseTestSupport.h"

#include <cmath>
#include <limits>
#include <string>

ZCRX_DEFINE_MEMBERS_WITH_NAMES(TestSegment, ZcDbCurve, L"VtTestSegment", L"VT_TEST_SEGMENT",
                               []() -> ZcRxObject* { return new TestSegment; })

Zcad::ErrorStatus TestSegment::transformBy(const ZcGeMatrix3d& xform) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  start_.transformBy(xform);
  end_.transformBy(xform);
  return Zcad::eOk;
}

ZCRX_DEFINE_PLUGIN_MEMBERS(VtLinkReactor)
NotificationLog* VtLinkReactor::log = nullptr;
Zcad::ErrorStatus VtLinkReactor::lastIntruderStatus = Zcad::eOk;

void VtLinkReactor::registerClass() {
  if (gpDesc) return;
  gpDesc = newZcRxClass(L"VTLinkLineToNotify", L"AcDbObject", 33, 55, 0, &VtLinkReactor::create,
                        L"VTLinkLineToNotify", L"persreac");
  zcrxBuildClassHierarchy();
}

void VtLinkReactor::unregisterClass() {
  deleteZcRxClass(gpDesc);
  gpDesc = nullptr;
}

namespace {
std::wstring describe(const wchar_t* what, const ZcDbObject* source) {
  const TestSegment* segment = TestSegment::cast(source);
  return std::wstring(what) + L":" + (segment ? std::to_wstring(static_cast<int>(segment->start().x)) : L"?");
}
}  // namespace

void VtLinkReactor::openedForModify(const ZcDbObject* dbObj) {
  if (log) log->entries.push_back(describe(L"openedForModify", dbObj));
}

void VtLinkReactor::modified(const ZcDbObject* dbObj) {
  if (log) log->entries.push_back(describe(L"modified", dbObj));
  const TestSegment* source = TestSegment::cast(dbObj);
  if (!follower.isNull() && source) {
    // As a connector does: move another object along with the source.
    TestSegment* other = nullptr;
    if (zcdbOpenObject(other, follower, ZcDb::kForWrite) == Zcad::eOk) {
      other->setStart(source->start());
      other->close();
    }
  }
  if (!intruder.isNull()) {
    ZcDbObject* obj = nullptr;
    lastIntruderStatus = zcdbOpenObject(obj, intruder, ZcDb::kForWrite);
    if (obj) obj->close();
  }
}

Zcad::ErrorStatus VtLinkReactor::dwgOutFields(ZcDbDwgFiler* filer) const {
  ZcDbObject::dwgOutFields(filer);
  filer->writeSoftPointerId(follower);
  filer->writeSoftPointerId(intruder);
  filer->writeInt32(value);
  return filer->filerStatus();
}

Zcad::ErrorStatus VtLinkReactor::dwgInFields(ZcDbDwgFiler* filer) {
  ZcDbObject::dwgInFields(filer);
  filer->readSoftPointerId(&follower);
  filer->readSoftPointerId(&intruder);
  filer->readInt32(&value);
  return filer->filerStatus();
}

ZcDbObjectId appendSegment(ZcDbDatabase& db, const ZcGePoint3d& start, const ZcGePoint3d& end) {
  ZcDbBlockTableRecord* space = nullptr;
  ZcDbObjectId id;
  if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) return id;
  auto* segment = new TestSegment(start, end);
  if (space->appendZcDbEntity(id, segment) == Zcad::eOk) {
    segment->close();
  } else {
    delete segment;
  }
  space->close();
  return id;
}

double startX(ZcDbObjectId id) {
  TestSegment* segment = nullptr;
  if (zcdbOpenObject(segment, id, ZcDb::kForRead) != Zcad::eOk)
    return std::numeric_limits<double>::quiet_NaN();
  double x = segment->start().x;
  segment->close();
  return x;
}
