#pragma once
// Test classes for the database core: a minimal curve entity (a segment, copied by value)
// and a plug-in style persistent reactor object (registered at run time with newZcRxClass
// and copied through its dwg filing, as a plug-in class is).
#include <string>
#include <vector>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/ge/ZcGeLineSeg3d.h"

class TestSegment : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(TestSegment)
  ZCDB_DECLARE_VALUE_COPY(TestSegment)

  TestSegment() = default;
  TestSegment(const ZcGePoint3d& start, const ZcGePoint3d& end) : start_(start), end_(end) {}

  ZcGePoint3d start() const { return start_; }
  ZcGePoint3d end() const { return end_; }
  Zcad::ErrorStatus setStart(const ZcGePoint3d& p) {
    if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
    start_ = p;
    return Zcad::eOk;
  }
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& = ZcGeContext::gTol) const override {
    curve = new ZcGeLineSeg3d(start_, end_);
    return Zcad::eOk;
  }
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;

 protected:
  TestSegment(const TestSegment&) = default;
  TestSegment& operator=(const TestSegment&) = default;

 private:
  ZcGePoint3d start_;
  ZcGePoint3d end_{1, 0, 0};
};

// What a reactor saw, in order ("openedForModify:<x of the source's start>", "modified:...").
struct NotificationLog {
  std::vector<std::wstring> entries;
};

// A plug-in class: its ZcRxClass is made with newZcRxClass (parent "AcDbObject" by name).
class VtLinkReactor : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(VtLinkReactor)
  static ZcRxObject* create() { return new VtLinkReactor; }
  static void registerClass();
  static void unregisterClass();

  // The object this reactor moves along when its source changes (null: none).
  ZcDbObjectId follower;
  // The object to try (and fail) to change while it notifies (null: none).
  ZcDbObjectId intruder;
  int value = 0;
  static NotificationLog* log;
  static Zcad::ErrorStatus lastIntruderStatus;

  void openedForModify(const ZcDbObject* dbObj) override;
  void modified(const ZcDbObject* dbObj) override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;
};

// Appends a segment to model space and closes it.
ZcDbObjectId appendSegment(ZcDbDatabase& db, const ZcGePoint3d& start, const ZcGePoint3d& end);
// The x coordinate of a segment's start (opened for read), or NaN.
double startX(ZcDbObjectId id);
